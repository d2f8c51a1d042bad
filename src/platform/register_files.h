// SPDX-License-Identifier: Apache-2.0
#pragma once

// The register's own files, which no output may ever replace.
//
// The register is the SQLite file DODODA.db in the working folder. Beside it SQLite keeps its
// journal, WAL and shared-memory files, the program keeps its lock file, and a restore or a norm
// import keeps the register it replaced as DODODA-fore-....db. An export, a report, a log or a
// backup written onto any of them would destroy the register or the copy kept to undo a change,
// so the one output writer refuses them:
// - by device and inode, through any path or hard link, for the register of the working folder
//   and the companions that exist beside it;
// - by name, in any folder, for the names the register and its companions bear, so that the
//   register of another folder is not overwritten either, and a companion that does not exist
//   yet (a journal made at the next write) is not taken as an output's name.

#include <string>
#include <string_view>

inline constexpr const char* kRegisterFileName = "DODODA.db";

// The lock file beside the register that a running program and a restore take.
inline constexpr const char* kRegisterLockFileName = ".DODODA.db.rivo-lock";

// Whether a file name (no folder) is the register's or one of its companions'.
bool isRegisterFileName(std::string_view name);

// false, with a Swedish message naming the target, when target is the register of the working
// folder or one of its companions (by device and inode), or bears such a name.
bool outputTargetIsNotRegister(const std::string& target, std::string& error);
