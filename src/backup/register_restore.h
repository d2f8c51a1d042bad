// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "access_log.h"
#include "register_check.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Putting a copy in place of the SQLite register DODODA.db in the working folder, as rivo-admin
// restore does. The copy (decrypted when it is encrypted) is staged beside the register, checked
// (register_check.h) and, when it has an older schema, upgraded there as upgrade-db would; only
// then does it replace the register, in one rename, after the register it replaces has been kept
// as DODODA-fore-aterstallning-<time>.db (file_time_stamp.h). The caller holds the register lock
// exclusively (register_lock.h).

struct RestoredRegister {
    RegisterFacts facts;
    std::time_t made = 0; // when the copy was made
    std::string kept;     // where the replaced register is kept; empty when there was none
    std::optional<AccessLogHead> replaced; // the head of its log, when it had a readable one
};

// false with every reason, in Swedish, in findings; the register is then unchanged.
bool restoreRegisterCopy(int copyFd, bool encrypted, std::string_view passphrase,
                         RestoredRegister& restored, std::vector<std::string>& findings);
