#pragma once

// The exports of libstavro: date validation, substring, string scrambling and the version number.
// C linkage so that the library can be bound by export name.

#ifdef __cplusplus
extern "C" {
#endif

#define STAVRO_EXPORT __attribute__((visibility("default")))

// 1 when the integer, read as yyyymmdd, is a valid calendar date; 0 otherwise.
STAVRO_EXPORT int DoCheckIntDate(int date);

// Copies at most count characters of source + start into destination and terminates it at
// destination[count]. Negative start or count give an empty destination. Returns destination.
STAVRO_EXPORT char* DoStrMid(char* destination, const char* source, int start, int count);

// XORs each byte i of text with ((key1 + i) * key2) mod 32. Applying it twice restores the text;
// the same routine serves both directions. Returns 0, or -1 for a null text.
STAVRO_EXPORT int DoEnCryptStr(char* text, int key1, int key2);
STAVRO_EXPORT int DoDeCryptStr(char* text, int key1, int key2);

STAVRO_EXPORT int cDoDllVersion(void);

#ifdef __cplusplus
}
#endif
