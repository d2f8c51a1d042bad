// SPDX-License-Identifier: Apache-2.0
#pragma once

// Passwords at rest: SEC stores a salted Argon2id hash (libsodium's crypto_pwhash_str), never the
// password itself. Free of Qt and of the database, so that every tool writing SEC uses the same
// form.

#include <string>

// libsodium's interactive limits: 2 passes over 64 MiB, about 0.1 s for one hash or one check on
// the machines this runs on, so a login stays well under a second.
inline constexpr unsigned long long kPasswordHashPasses = 2;
inline constexpr std::size_t kPasswordHashMemory = 64u * 1024u * 1024u;

// The stored form of a password: an encoded hash with its own random salt and limits (at most
// 127 characters). Empty when the hash could not be computed (out of memory).
std::string hashPassword(const std::string& password);

// True when the stored value is an encoded hash. Passwords are at most ten characters, so a
// longer value with the hash's prefix is never a plain-text password of an older database.
bool isPasswordHash(const std::string& stored);

// True when the password matches the stored value: a hash is checked with libsodium's verify, a
// plain-text value of an older database is compared exactly. An empty stored value matches
// nothing.
bool passwordMatches(const std::string& stored, const std::string& password);

// True when the stored value should be replaced by a fresh hash after a successful login: it is
// plain text, or a hash made with other limits than the current ones.
bool passwordNeedsRehash(const std::string& stored);
