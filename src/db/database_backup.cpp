// SPDX-License-Identifier: Apache-2.0
#include "database_backup.h"

#include "db.h"
#include "safe_file.h"

namespace {

constexpr int kMessageSize = 512;

bool fillWithCopy(SafeFile& file, const std::string& target, std::string& message,
                  SafeFileTarget kind) {
    if (!file.open(target, message, kind)) {
        return false;
    }
    // VACUUM INTO fills the writer's empty temporary, which it accepts as a new database.
    char databaseMessage[kMessageSize] = {};
    if (DoVacuumInto(file.temporaryPath().c_str(), databaseMessage, sizeof databaseMessage) !=
        DB_DONE) {
        message = databaseMessage;
        return false;
    }
    return true;
}

} // namespace

bool writeDatabaseBackup(const std::string& target, std::string& message, SafeFileTarget kind) {
    SafeFile file;
    return fillWithCopy(file, target, message, kind) && file.commit(message);
}

bool writeDatabaseBackupToNewName(const std::string& target, std::string& message, bool& taken) {
    SafeFile file;
    const bool written =
        fillWithCopy(file, target, message, SafeFileTarget::Output) && file.commitNoReplace(message);
    taken = file.targetTaken();
    return written;
}
