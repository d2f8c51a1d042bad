// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "secret_buffer.h"

#include <string>

// The passphrase of an encrypted copy: the first line of a file that only its owner may read
// (for a timer that runs without anyone at the keyboard), or typed twice for a new copy. It is
// read straight into a SecretBuffer: no other copy of it is made.

inline constexpr int kShortestPassphrase = 10;          // characters, for a new copy
inline constexpr std::size_t kLongestPassphrase = 4096; // bytes

// Reads the first line of the file, without its line end. false, with a Swedish message in
// error, when the file cannot be read, is no regular file, may be read or written by anyone but
// its owner, or holds no passphrase.
bool readPassphraseFile(const std::string& path, SecretBuffer& passphrase, std::string& error);

// Why a passphrase for a new copy is refused, in Swedish; empty when it is taken. again is the
// passphrase typed a second time, nullptr when it came from a file.
std::string newPassphraseProblem(const SecretBuffer& passphrase, const SecretBuffer* again);
