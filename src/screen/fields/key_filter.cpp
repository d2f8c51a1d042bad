// SPDX-License-Identifier: Apache-2.0
#include "key_filter.h"

#include "screen_ids.h"

namespace {

// Virtual keys up to here are control and navigation keys and space.
constexpr int kLastControlKey = 0x2F;
constexpr int kLastDigit = 0x39;
constexpr int kKeypad0 = 0x60;
constexpr int kKeypad9 = 0x69;

constexpr int kTestDateField = 9;
constexpr int kBirthDateField = 10;
constexpr int kSexField = 12;
constexpr int kHandednessField = 13;
constexpr int kLastFilteredRawScoreField = 12;

bool personalDataAccepts(int field, int key) {
    switch (field) {
    case kTestDateField:
    case kBirthDateField:
        return key <= kLastDigit || (key >= kKeypad0 && key <= kKeypad9);
    case kSexField:
        return key == 'K' || key == 'M' || key <= kLastControlKey;
    case kHandednessField:
        return key == 'V' || key == 'H' || key == 'A' || key == 'O' || key <= kLastControlKey;
    default:
        return true;
    }
}

bool rawScoreAccepts(int field, int key) {
    if (field < 0 || field > kLastFilteredRawScoreField) {
        return true;
    }
    const bool letterLike = key >= 0x3A && key <= 0x5F;
    const bool keypadOperator = key >= 0x6A && key <= 0x6C; // multiply, add, separator
    return !letterLike && !keypadOperator;
}

} // namespace

bool keyAccepted(int screen, int field, int virtualKey, bool altHeld) {
    if (altHeld) {
        return true;
    }
    if (screen == SCREEN_PERSONAL_DATA) {
        return personalDataAccepts(field, virtualKey);
    }
    if (screen == SCREEN_RAW_SCORES) {
        return rawScoreAccepts(field, virtualKey);
    }
    return true;
}

bool characterAccepted(int screen, int field, char32_t character) {
    if (character < 0x20 || character == 0x7F) {
        return false;
    }
    int key = 0xFF; // a key of no range: punctuation, letters outside A-Z
    if ((character >= '0' && character <= '9') || character == ' ') {
        key = static_cast<int>(character);
    } else if (character >= 'a' && character <= 'z') {
        key = static_cast<int>(character - 'a' + 'A');
    } else if (character >= 'A' && character <= 'Z') {
        key = static_cast<int>(character);
    }
    return keyAccepted(screen, field, key, false);
}
