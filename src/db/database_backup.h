// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "safe_file.h"

#include <string>

// A backup of the open database: a consistent copy (VACUUM INTO through the connection, never a
// raw copy of the open file) written by the one safe writer (safe_file.h): into a temporary file
// beside the target, flushed to disk and only then renamed over the target, so that a failed or
// killed backup never destroys an earlier one. The copy is readable by its owner only; a target
// that is a link, a folder, a FIFO or a device is refused. No window system.

// true when the copy is at target. false when not, with the system's or the database's message
// in message; the target is then as it was and no temporary file is left. A copy kept beside the
// register before a change of it (DODODA-fore-...) is written as a file of the register.
bool writeDatabaseBackup(const std::string& target, std::string& message,
                         SafeFileTarget kind = SafeFileTarget::Output);

// The same for a name that must not exist yet (a dated copy in a folder): the name is claimed
// without replacing any file. taken tells that a file of that name appeared meanwhile.
bool writeDatabaseBackupToNewName(const std::string& target, std::string& message, bool& taken);

// Shown instead of a backup when the register is on a database server.
inline constexpr const char* kServerBackupMessage =
    "Registret finns på en databasserver och säkerhetskopieras där, av serverns administratör "
    "(till exempel med pg_dump). Ingen kopia har gjorts på den här datorn.";
