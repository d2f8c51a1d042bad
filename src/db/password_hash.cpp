// SPDX-License-Identifier: Apache-2.0
#include "password_hash.h"

#include <sodium.h>

#include <cstring>

namespace {

constexpr std::size_t kLongestPlainPassword = 10; // bytes are never fewer than characters

bool ready() {
    return sodium_init() >= 0; // idempotent and safe to call from any thread
}

} // namespace

std::string hashPassword(const std::string& password) {
    char encoded[crypto_pwhash_STRBYTES] = {};
    if (!ready() || crypto_pwhash_str(encoded, password.data(), password.size(),
                                      kPasswordHashPasses, kPasswordHashMemory) != 0) {
        return {};
    }
    return encoded;
}

bool isPasswordHash(const std::string& stored) {
    return stored.size() > kLongestPlainPassword &&
           stored.compare(0, std::strlen(crypto_pwhash_STRPREFIX), crypto_pwhash_STRPREFIX) == 0;
}

bool passwordMatches(const std::string& stored, const std::string& password) {
    if (stored.empty()) {
        return false;
    }
    if (!isPasswordHash(stored)) {
        return stored == password;
    }
    // The stored text may come from a hostile file: verify reads it only up to its terminator.
    return ready() &&
           crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

bool passwordNeedsRehash(const std::string& stored) {
    if (!isPasswordHash(stored)) {
        return true;
    }
    return !ready() || crypto_pwhash_str_needs_rehash(stored.c_str(), kPasswordHashPasses,
                                                      kPasswordHashMemory) != 0;
}
