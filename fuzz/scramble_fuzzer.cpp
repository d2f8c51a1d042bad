// SPDX-License-Identifier: Apache-2.0
// The scramble exports of libstavro: any text and keys. Scrambling keeps the length of a text of
// printable characters (the masks are below 32, so only a control character can become a NUL),
// and applying the routine again restores it.

#include "stavro.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) {
        return 0;
    }
    int key1 = 0;
    int key2 = 0;
    std::memcpy(&key1, data, sizeof key1);
    std::memcpy(&key2, data + 4, sizeof key2);
    std::string text(reinterpret_cast<const char*>(data + 8), size - 8);
    text = text.substr(0, text.find('\0'));
    auto buffer = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(buffer.get(), text.c_str(), text.size() + 1);

    if (DoEnCryptStr(buffer.get(), key1, key2) != 0) {
        std::abort();
    }
    bool printable = true;
    for (const char c : text) {
        printable = printable && static_cast<unsigned char>(c) >= 0x20;
    }
    if (printable) {
        if (std::strlen(buffer.get()) != text.size()) {
            std::abort();
        }
        if (DoDeCryptStr(buffer.get(), key1, key2) != 0 || text != buffer.get()) {
            std::abort();
        }
    }
    if (DoEnCryptStr(nullptr, key1, key2) != -1 || DoDeCryptStr(nullptr, key1, key2) != -1) {
        std::abort();
    }
    return 0;
}
