// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>

// The passphrase of an encrypted copy: the first line of a file that only its owner may read
// (for a timer that runs without anyone at the keyboard), or typed without echo.

inline constexpr int kShortestPassphrase = 10; // characters, for a new copy

// Reads the first line of the file, without its line end. false, with a Swedish message in
// error, when the file cannot be read, is no regular file, may be read or written by anyone but
// its owner, or holds no passphrase.
bool readPassphraseFile(const std::string& path, std::string& passphrase, std::string& error);

// The passphrase from file when one is named, otherwise typed: twice when confirm (a new copy),
// once when not. For a new copy a passphrase shorter than kShortestPassphrase is refused. false
// when there is none; the reason has been said on standard error.
bool readPassphrase(const std::string& file, bool confirm, std::string& passphrase);
