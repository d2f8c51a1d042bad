// SPDX-License-Identifier: Apache-2.0
#include "user_name_key.h"

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string userNameKey(std::string_view name) {
    while (!name.empty() && blank(name.front())) {
        name.remove_prefix(1);
    }
    while (!name.empty() && blank(name.back())) {
        name.remove_suffix(1);
    }
    std::string key(name);
    for (std::size_t i = 0; i < key.size(); ++i) {
        const auto byte = static_cast<unsigned char>(key[i]);
        if (byte >= 'A' && byte <= 'Z') {
            key[i] = static_cast<char>(byte + ('a' - 'A'));
        } else if (byte == 0xC3 && i + 1 < key.size()) {
            // U+00C0-U+00DE are Latin-1's capitals (but U+00D7, the multiplication sign); the
            // small letter is 0x20 further on, which in UTF-8 is the second byte + 0x20.
            const auto next = static_cast<unsigned char>(key[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) {
                key[i + 1] = static_cast<char>(next + 0x20);
            }
            ++i;
        }
    }
    return key;
}
