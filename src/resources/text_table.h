// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>

// The user-interface texts, in Swedish, by numeric id.

struct TextEntry {
    unsigned short id;
    const char* text;
};

extern const TextEntry kTextTable[];
extern const int kTextTableSize;

// Copies the text with the given id into buffer (UTF-8, NUL-terminated), cut at the last whole
// character that fits in capacity - 1 bytes. An absent id gives an empty text. Returns the
// number of bytes copied, without the terminator.
int loadText(unsigned short id, char* buffer, int capacity);

// The whole text with the given id, or an empty text.
std::string text(unsigned short id);
