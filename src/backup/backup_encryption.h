// SPDX-License-Identifier: Apache-2.0
#pragma once

// Encrypted register copies: a key derived from a passphrase with Argon2id, the data in
// authenticated chunks (libsodium's crypto_secretstream_xchacha20poly1305), the last chunk
// tagged final so that a shortened file is refused. The layout, byte by byte, is in the man page
// rivo-admin(1), so that a copy can be decrypted without this program.
//
//   offset  size  field
//        0     8  magic "RIVOKOPI"
//        8     1  format version, 1
//        9     4  Argon2id passes (opslimit), little-endian
//       13     8  Argon2id memory in bytes (memlimit), little-endian
//       21    16  salt
//       37     8  time of the copy, seconds since 1970-01-01 UTC, little-endian
//       45     4  plain bytes per chunk, little-endian
//       49    24  secretstream header
//       73        chunks; the first authenticates bytes 0-72 as additional data

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

inline constexpr std::string_view kEncryptedBackupMagic = "RIVOKOPI";
inline constexpr unsigned char kEncryptedBackupVersion = 1;
inline constexpr std::size_t kEncryptedBackupHeaderSize = 73;

// Argon2id at 3 passes over 64 MiB: about a quarter of a second on a small office machine, so a
// nightly copy of a large register stays within two seconds, while every guess at a passphrase
// costs an attacker the same 64 MiB and time (the second of the two settings RFC 9106 recommends,
// with one lane). Written into each copy's header, so the limits can be raised later and older
// copies still open.
struct KeyDerivationLimits {
    std::uint32_t passes = 3;
    std::uint64_t memoryBytes = 64ull << 20;
};

inline constexpr std::uint32_t kBackupChunkSize = 1u << 20;

// What a copy's header may ask of the machine that opens it: a header asking more (a damaged or
// hostile copy) is refused at once, before any key is derived, rather than holding the machine
// for half a minute and gigabytes of memory only to say that the passphrase is wrong.
inline constexpr std::uint32_t kMostKeyDerivationPasses = 10;
inline constexpr std::uint64_t kMostKeyDerivationMemory = 1ull << 30;
inline constexpr std::uint32_t kMostChunkSize = 64u << 20;

// Receives decrypted or encrypted bytes; false stops the work (the receiver knows why).
using ByteSink = std::function<bool(std::string_view)>;

// Whether the file open at fd starts with the magic of an encrypted copy.
bool isEncryptedBackup(int fd);

// Encrypts everything readable from plainFd into sink. false with a Swedish message in error.
// The passphrase is only read where it lies (a SecretBuffer's view); the key, the stream's state
// and the plain chunks are wiped on every way out.
bool encryptBackup(int plainFd, const ByteSink& sink, std::string_view passphrase,
                   std::int64_t createdUtc, std::string& error,
                   const KeyDerivationLimits& limits = {},
                   std::uint32_t chunkSize = kBackupChunkSize);

// Decrypts the copy open at encryptedFd into sink and gives the time it was made. false with a
// Swedish message in error for a wrong passphrase, a damaged or shortened copy, or a version this
// program does not know; what sink received is then to be thrown away.
bool decryptBackup(int encryptedFd, const ByteSink& sink, std::string_view passphrase,
                   std::int64_t& createdUtc, std::string& error);
