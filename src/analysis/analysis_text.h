// SPDX-License-Identifier: Apache-2.0
#pragma once

// The analyses leave every result as display text in fixed fields of 64 bytes (UTF-8, at most 63
// bytes and the terminator). Numbers are written with a decimal point whatever the C library's
// locale, so "13.03" stays "13.03" on a Swedish desktop.

inline constexpr int kRowText = 64;

using RowText = char[kRowText];

// "%d"
void writeInt(RowText& field, int value);

// value with a fixed number of decimals ("%0.2f" for 2), then suffix ("%" gives "%0.1f%%").
void writeFixed(RowText& field, double value, int decimals, const char* suffix = "");

// Copies text, cut at the last whole UTF-8 character that fits.
void writeText(RowText& field, const char* text);
