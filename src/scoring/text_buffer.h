// SPDX-License-Identifier: Apache-2.0
#pragma once

// Text fields are fixed buffers of UTF-8 text. A column that held n bytes of 8-bit text holds
// n - 1 characters; in UTF-8 a character can take up to four bytes, so the buffer is sized for
// that many characters plus the terminator.
constexpr int utf8Buffer(int columnBytes) {
    return (columnBytes - 1) * 4 + 1;
}

inline constexpr int kText50 = utf8Buffer(50);
inline constexpr int kText64 = utf8Buffer(64);
