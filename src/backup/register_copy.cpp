// SPDX-License-Identifier: Apache-2.0
#include "register_copy.h"

#include "backup_encryption.h"
#include "database_backup.h"
#include "db.h"
#include "safe_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <ctime>

namespace {

bool commitCopy(SafeFile& file, CopyClaim claim, bool& taken, std::string& error) {
    if (claim == CopyClaim::Replace) {
        return file.commit(error);
    }
    const bool committed = file.commitNoReplace(error);
    taken = file.targetTaken();
    return committed;
}

bool writePlainCopy(const std::string& target, CopyClaim claim, bool& taken, std::string& error) {
    return claim == CopyClaim::Replace ? writeDatabaseBackup(target, error)
                                       : writeDatabaseBackupToNewName(target, error, taken);
}

// The clear copy that is encrypted is made beside the register, which holds the same data in the
// clear already, and never on the medium of the target: a USB stick keeps what was once written
// to it. It is a temporary of the safe writer that is never committed, so a killed run leaves
// nothing the next one does not remove.
constexpr const char* kClearCopyName = "DODODA.db.okrypterad-kopia";

bool writeEncryptedCopy(const std::string& target, const SecretBuffer& passphrase, CopyClaim claim,
                        bool& taken, std::string& error) {
    SafeFile clear;
    SafeFile sealed;
    if (!clear.open(kClearCopyName, error) || !sealed.open(target, error)) {
        return false;
    }
    const std::int64_t made = std::time(nullptr);
    char message[512] = {};
    if (DoVacuumInto(clear.temporaryPath().c_str(), message, sizeof message) != DB_DONE) {
        error = std::string("Registret kunde inte kopieras: ") + message;
        return false;
    }
    const int fd = ::open(clear.temporaryPath().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        error = "Fel vid läsning av kopian att kryptera.";
        return false;
    }
    const bool encrypted = encryptBackup(
        fd, [&](std::string_view bytes) { return sealed.write(bytes); }, passphrase.view(), made,
        error);
    ::close(fd);
    clear.abandon();
    if (!encrypted) {
        if (error.empty()) {
            sealed.commit(error); // refuses, and says why the write failed
        }
        return false;
    }
    return commitCopy(sealed, claim, taken, error);
}

} // namespace

bool writeRegisterCopy(const std::string& target, const SecretBuffer* passphrase, CopyClaim claim,
                       bool& taken, std::string& error) {
    taken = false;
    if (!outputTargetAllowed(target, error)) {
        return false;
    }
    return passphrase != nullptr ? writeEncryptedCopy(target, *passphrase, claim, taken, error)
                                 : writePlainCopy(target, claim, taken, error);
}
