// SPDX-License-Identifier: Apache-2.0
// The reading of the raw-score form's 22 texts, from any bytes (one text per line): never a
// crash, and whatever the texts, an accepted form stores only scores its fields allow, with
// sifferrepetition the sum of its three parts; the form's own texts of the stored scores are
// accepted again with the same scores; the lenient read of the back command stores nothing
// outside the fields' ranges either.

#include "raw_score_validation.h"
#include "subtest_table.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

RawScoreTexts textsOf(const std::uint8_t* data, std::size_t size) {
    RawScoreTexts texts;
    std::size_t field = 0;
    for (std::size_t i = 0; i < size && field < texts.size(); ++i) {
        if (data[i] == '\n') {
            ++field;
        } else {
            texts[field].push_back(static_cast<char>(data[i]));
        }
    }
    return texts;
}

// Every stored field value is not administered or within the field's range, and the sum is
// right.
bool storedScoresAllowed(const TestOccasion& occasion) {
    for (int field = 0; field < kRawScoreFieldCount; ++field) {
        const int value = occasion.RawScores[kRawScoreFields[field].raw];
        if (value != NOT_ADMINISTERED && (value < 0 || value > rawScoreFieldMax(field))) {
            return false;
        }
    }
    const std::int32_t* raw = occasion.RawScores;
    const bool partMissing = raw[RAW_SRFRAM] == NOT_ADMINISTERED ||
                             raw[RAW_SRBAK] == NOT_ADMINISTERED || raw[RAW_SS] == NOT_ADMINISTERED;
    const int sum = partMissing ? NOT_ADMINISTERED : raw[RAW_SRFRAM] + raw[RAW_SRBAK] + raw[RAW_SS];
    return raw[RAW_SIFFERREPETITION] == sum;
}

TestOccasion notAdministered() {
    TestOccasion occasion{};
    for (std::int32_t& raw : occasion.RawScores) {
        raw = NOT_ADMINISTERED;
    }
    return occasion;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RawScoreTexts texts = textsOf(data, size);

    TestOccasion occasion = notAdministered();
    const RawScoreCheck check = checkRawScores(texts, occasion);
    if (check.valid != check.message.empty() || (check.valid != (check.field < 0)) ||
        check.field >= kRawScoreFieldCount) {
        std::abort();
    }
    if (check.valid) {
        if (!storedScoresAllowed(occasion)) {
            std::abort();
        }
        TestOccasion again = notAdministered();
        if (!checkRawScores(rawScoreTextsOf(occasion), again).valid ||
            std::memcmp(again.RawScores, occasion.RawScores, sizeof again.RawScores) != 0) {
            std::abort();
        }
    }

    TestOccasion lenient = notAdministered();
    readRawScoresLeniently(texts, lenient);
    if (!storedScoresAllowed(lenient)) {
        std::abort();
    }
    return 0;
}
