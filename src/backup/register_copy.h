// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "secret_buffer.h"

#include <string>

// A copy of the open SQLite register, plain or encrypted, as the "Säkerhetskopia" button and
// rivo-admin backup make it. The access log's row of the copy is written by the caller first
// (backup_access_log.h), so that the copy holds its own row.

// How the copy's name is claimed: a file named by the user is replaced as any output is; a dated
// name in a folder is never replaced (another run may have claimed it the same minute).
enum class CopyClaim { Replace, NewName };

// Writes the copy to target, encrypted with the passphrase when one is given. false with a
// Swedish message in error; taken tells that a NewName target was claimed by another meanwhile
// (the caller may try the next name).
bool writeRegisterCopy(const std::string& target, const SecretBuffer* passphrase, CopyClaim claim,
                       bool& taken, std::string& error);
