// SPDX-License-Identifier: Apache-2.0
#include "analysis_text.h"

#include <charconv>
#include <cstring>

namespace {

// Copies at most capacity - 1 bytes of text into field without splitting a UTF-8 character.
void copyWhole(char* field, int capacity, const char* text) {
    int length = static_cast<int>(std::strlen(text));
    if (length > capacity - 1) {
        length = capacity - 1;
        // Back up over continuation bytes (10xxxxxx) to the start of the cut character.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            --length;
        }
    }
    std::memcpy(field, text, static_cast<std::size_t>(length));
    field[length] = '\0';
}

} // namespace

void writeInt(RowText& field, int value) {
    const std::to_chars_result result = std::to_chars(field, field + kRowText - 1, value);
    *result.ptr = '\0';
}

void writeFixed(RowText& field, double value, int decimals, const char* suffix) {
    if (value == 0.0) {
        value = 0.0; // a negative zero is written as "0.00", not "-0.00"
    }
    char number[kRowText];
    const std::to_chars_result result =
        std::to_chars(number, number + kRowText - 1, value, std::chars_format::fixed, decimals);
    // A value too long for a field is shown as nothing rather than as a cut number.
    if (result.ec != std::errc{}) {
        field[0] = '\0';
        return;
    }
    *result.ptr = '\0';
    copyWhole(field, kRowText, number);
    const int used = static_cast<int>(std::strlen(field));
    copyWhole(field + used, kRowText - used, suffix);
}

void writeText(RowText& field, const char* text) {
    copyWhole(field, kRowText, text);
}
