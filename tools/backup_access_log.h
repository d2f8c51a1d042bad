// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "access_log.h"

#include <cstdint>
#include <optional>
#include <string>

// The rows the register's access log keeps of copies made and registers restored.

// Appends the backup's row before the copy is made (the copy then holds its own row); false,
// with the reason reported, when the row cannot be written and no copy may be made.
bool logBackupBeforeWriting(const std::string& target, bool encrypted);

// Appends the restore's row to the restored register (giving an older copy its log first),
// naming the head of the register it replaced; called while connected to it. False, with the
// reason on standard error, when that fails.
bool logRegisterRestored(const std::string& source, std::int64_t persons,
                         const std::optional<AccessLogHead>& replaced);
