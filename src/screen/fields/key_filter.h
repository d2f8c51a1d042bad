// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which keys an entry field takes, in Windows virtual-key codes (virtual_key.h makes them from
// Qt's key events). A refused key never reaches the field.
//
// Personal-data form: the date fields (9, 10) take control and navigation keys, space and the
// digits of the main row and of the keypad; "Kön" (12) takes K, M and the keys up to 0x2F;
// "Hänthet" (13) takes V, H, A, O and the keys up to 0x2F. Raw-score form: fields 0-12 refuse
// letters and the like (0x3A-0x5F) and the keypad's multiply, add and separator (0x6A-0x6C), so
// that the minus keys stay usable for "-9". Every key passes while Alt is held, so the
// accelerators work inside the fields. Any other screen or field takes every key.
bool keyAccepted(int screen, int field, int virtualKey, bool altHeld);

// Whether a field takes a character that arrives without a key of its own (pasted or dropped):
// the character is judged as the key that types it, so digits by their digit key, letters by
// their capital letter key, space as the space bar and anything else as a key of no range the
// filters let through only where every key passes. Control characters are never taken.
bool characterAccepted(int screen, int field, char32_t character);
