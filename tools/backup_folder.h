// SPDX-License-Identifier: Apache-2.0
#pragma once

// A folder of dated register copies, as a nightly timer fills it: DODODA-2026-12-07T0215.db, or
// DODODA-2026-12-07T0215.db.krypterad for an encrypted copy, the time being local time. A second
// copy within the same minute gets -2, -3, ... before the extension; the name is claimed without
// ever replacing a file. Only files named so that are copies of ours count as copies; nothing
// else in the folder is ever touched.

#include <ctime>
#include <string>
#include <vector>

inline constexpr int kDefaultKeptCopies = 14;
inline constexpr const char* kEncryptedExtension = ".krypterad";

// The name of a copy made at the given local time; sequence 1 is the first of that minute.
std::string datedCopyName(const std::tm& localTime, bool encrypted, int sequence = 1);

// A path in folder for a copy made now that no file has taken yet.
std::string freeDatedCopyPath(const std::string& folder, std::time_t now, bool encrypted);

// The files in folder named as dated copies (regular files only), newest first: by the time in
// the name, or by the file's modification time when the name is dated after now.
std::vector<std::string> datedCopiesNewestFirst(const std::string& folder, std::time_t now);

// Whether the file is a copy this program wrote: it starts with the header of an encrypted copy,
// or it is an SQLite database with the register's tables.
bool isOwnCopy(const std::string& path);

// Removes all but the newest keep dated copies that are copies of ours (isOwnCopy), never the
// one just written; a file that only has the name of a copy is neither counted nor removed. The
// paths removed are added to removed; false, with the system's message in error, when one could not
// be removed (the rest are still tried).
bool keepNewestCopies(const std::string& folder, int keep, const std::string& written,
                      std::vector<std::string>& removed, std::string& error);
