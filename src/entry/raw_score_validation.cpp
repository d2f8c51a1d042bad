// SPDX-License-Identifier: Apache-2.0
#include "raw_score_validation.h"

#include "subtest_table.h"
#include "text_table.h"

#include <climits>
#include <cstdlib>

namespace {

// Leading and trailing blanks, an optional sign, and at least one digit with nothing else.
// The C library's conversion would read "5x" as 5, "x" or "-" as 0 and "1o" as 1: a slip of the
// finger would be stored as a real score without a word, so such a text is refused instead.
bool isWholeNumberText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    if (i == digitsStart) {
        return false;
    }
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    return i == text.size();
}

bool accepted(int field, const std::string& text, int value) {
    if (text.empty()) {
        return true; // not administered
    }
    if (!isWholeNumberText(text)) {
        return false;
    }
    return value == NOT_ADMINISTERED || (value >= 0 && value <= rawScoreFieldMax(field));
}

// The sum of the three digit-span scores, or NOT_ADMINISTERED when one of them was not given.
void computeSifferrepetition(TestOccasion& occasion) {
    std::int32_t* raw = occasion.RawScores;
    if (raw[RAW_SRFRAM] == NOT_ADMINISTERED || raw[RAW_SRBAK] == NOT_ADMINISTERED ||
        raw[RAW_SS] == NOT_ADMINISTERED) {
        raw[RAW_SIFFERREPETITION] = NOT_ADMINISTERED;
        return;
    }
    raw[RAW_SIFFERREPETITION] = raw[RAW_SRFRAM] + raw[RAW_SRBAK] + raw[RAW_SS];
}

struct PartRule {
    int main; // RawScore of the main score
    int part; // RawScore of its part
    unsigned short message;
    int mainField; // where the focus goes
};

// A part score may not be given without its main score; checked in this order.
constexpr PartRule kPartRules[] = {
    {RAW_BLOCKMONSTER, RAW_BUT, 652, 0}, {RAW_SRFRAM, RAW_SRLFRAM, 654, 3},
    {RAW_SRBAK, RAW_SRLBAK, 655, 5},     {RAW_SS, RAW_SSO, 656, 7},
    {RAW_BSS, RAW_BO, 653, 16},
};

// Field of a span score, for the rule that a longest span of exactly 1 does not exist.
constexpr int kSrlframField = 4;
constexpr int kSrlbakField = 6;

} // namespace

int rawScoreValue(const std::string& text) {
    if (text.empty()) {
        return NOT_ADMINISTERED;
    }
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

RawScoreCheck checkRawScores(const RawScoreTexts& texts, TestOccasion& occasion) {
    std::int32_t* raw = occasion.RawScores;
    raw[RAW_SIFFERREPETITION] = 0;
    int invalidField = -1;
    for (int field = 0; field < kRawScoreFieldCount; ++field) {
        const std::string& entry = texts[static_cast<std::size_t>(field)];
        const int value = rawScoreValue(entry);
        if (!accepted(field, entry, value)) {
            invalidField = field;
            break;
        }
        const int position = kRawScoreFields[field].raw;
        raw[position] = value;
        if ((position == RAW_SRFRAM || position == RAW_SRBAK || position == RAW_SS) &&
            value != NOT_ADMINISTERED) {
            raw[RAW_SIFFERREPETITION] += value;
        }
    }
    if (raw[RAW_SRFRAM] == NOT_ADMINISTERED || raw[RAW_SRBAK] == NOT_ADMINISTERED ||
        raw[RAW_SS] == NOT_ADMINISTERED) {
        raw[RAW_SIFFERREPETITION] = NOT_ADMINISTERED;
    }
    if (raw[RAW_SRLFRAM] == 1) {
        invalidField = kSrlframField;
    } else if (raw[RAW_SRLBAK] == 1) {
        invalidField = kSrlbakField;
    }

    RawScoreCheck check;
    if (invalidField >= 0) {
        // Text 323 has one "%s", for the subtest's name.
        std::string message = text(323);
        const std::size_t slot = message.find("%s");
        if (slot != std::string::npos) {
            message.replace(slot, 2, text(rawScoreFieldName(invalidField)));
        }
        check.valid = false;
        check.field = invalidField;
        check.message = message;
        return check;
    }
    for (const PartRule& rule : kPartRules) {
        if (raw[rule.main] == NOT_ADMINISTERED && raw[rule.part] >= 0) {
            check.valid = false;
            check.field = rule.mainField;
            check.message = text(rule.message);
            return check;
        }
    }
    return check;
}

void readRawScoresLeniently(const RawScoreTexts& texts, TestOccasion& occasion) {
    for (int field = 0; field < kRawScoreFieldCount; ++field) {
        const std::string entry = texts[static_cast<std::size_t>(field)].substr(0, 3);
        const int value = rawScoreValue(entry);
        if (accepted(field, entry, value)) {
            occasion.RawScores[kRawScoreFields[field].raw] = value;
        }
    }
    computeSifferrepetition(occasion);
}

RawScoreTexts rawScoreTextsOf(const TestOccasion& occasion) {
    RawScoreTexts texts;
    for (int field = 0; field < kRawScoreFieldCount; ++field) {
        const int value = occasion.RawScores[kRawScoreFields[field].raw];
        texts[static_cast<std::size_t>(field)] =
            value == NOT_ADMINISTERED ? std::string() : std::to_string(value);
    }
    return texts;
}
