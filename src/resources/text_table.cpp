// SPDX-License-Identifier: Apache-2.0
#include "text_table.h"

#include <algorithm>
#include <cstring>

namespace {

const char* findText(unsigned short id) {
    const TextEntry* end = kTextTable + kTextTableSize;
    const TextEntry* found =
        std::lower_bound(kTextTable, end, id,
                         [](const TextEntry& entry, unsigned short key) { return entry.id < key; });
    return found != end && found->id == id ? found->text : nullptr;
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

} // namespace

int loadText(unsigned short id, char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) {
        return 0;
    }
    const char* source = findText(id);
    if (source == nullptr) {
        buffer[0] = '\0';
        return 0;
    }
    int length = static_cast<int>(std::strlen(source));
    if (length > capacity - 1) {
        length = capacity - 1;
        // Do not split a multi-byte character.
        while (length > 0 && isContinuationByte(source[length])) {
            --length;
        }
    }
    std::memcpy(buffer, source, static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

std::string text(unsigned short id) {
    const char* source = findText(id);
    return source != nullptr ? std::string(source) : std::string();
}
