// SPDX-License-Identifier: Apache-2.0
#include "backup_access_log.h"

#include "access_log.h"
#include "schema.h"

#include <cstdio>
#include <optional>

bool logBackupBeforeWriting(const std::string& target, bool encrypted) {
    // logBeforeReading reports a refusal itself.
    return logBeforeReading(AccessEvent::Backup, std::nullopt,
                            target + (encrypted ? " (krypterad)" : ""));
}

bool logRegisterRestored(const std::string& source, std::int64_t persons,
                         const std::optional<AccessLogHead>& replaced) {
    if (DoAddAccessLog() == DB_DONE &&
        DoAppendAccessLog(AccessEvent::Restored, std::nullopt,
                          accessLogRestoredDetail(replaced, source, persons)) == DB_DONE) {
        return true;
    }
    std::fprintf(stderr, "Återställningen kunde inte skrivas in i åtkomstloggen.\n");
    return false;
}
