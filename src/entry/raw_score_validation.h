// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "raw_score_fields.h"

#include <array>
#include <string>

// What the user typed into the 22 fields, in form order.
using RawScoreTexts = std::array<std::string, kRawScoreFieldCount>;

// The integer a field's text stands for: an empty text is NOT_ADMINISTERED, anything else is
// read as the C library reads a decimal number (leading blanks and a sign accepted, reading stops
// at the first non-digit, no digits give 0).
int rawScoreValue(const std::string& text);

struct RawScoreCheck {
    bool valid = true;
    int field = -1;      // the field the message concerns (focus goes there)
    std::string message; // the message to show; empty when valid
};

// Checks the entries in form order against each field's maximum and stores the accepted values
// into occasion.RawScores (with sifferrepetition as the sum of its three parts, or
// NOT_ADMINISTERED when one is missing). Values stored before an invalid field stay stored. Then
// a longest span of 1 is refused, and a part score without its main score.
RawScoreCheck checkRawScores(const RawScoreTexts& texts, TestOccasion& occasion);

// The lenient read of the back command: the first three characters of each field; a value the
// field accepts is stored, any other leaves the stored value as it was. No message.
void readRawScoresLeniently(const RawScoreTexts& texts, TestOccasion& occasion);

// The entries as the form shows them: each value with "%d", NOT_ADMINISTERED as an empty field.
RawScoreTexts rawScoreTextsOf(const TestOccasion& occasion);
