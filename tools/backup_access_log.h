#pragma once

#include <cstdint>
#include <string>

// The rows the register's access log keeps of copies made and registers restored.

// A copy of the register was written to target; called while connected to the register.
void logBackupWritten(const std::string& target, bool encrypted);

// The register was replaced by the copy at source; called while connected to the restored
// register, so the row lands in the register now in use.
void logRegisterRestored(const std::string& source, std::int64_t persons);
