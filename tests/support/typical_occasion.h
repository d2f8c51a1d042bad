// SPDX-License-Identifier: Apache-2.0
#pragma once

// A test occasion as the forms store it: Eva Lind, a woman born 1968-09-30 and tested
// 2011-02-13, every raw score half its form's maximum and the Sifferrepetition total the sum of
// its parts.

#include "subtest_table.h"
#include "test_occasion.h"

#include <cstring>

inline TestOccasion typicalOccasion() {
    TestOccasion occasion{};
    std::strcpy(occasion.person.NAMN, "Eva Lind");
    occasion.person.SEX = 2;
    occasion.person.BORNDATE = DateValue{1968, 9, 30};
    occasion.person.TESTDATE = DateValue{2011, 2, 13};
    occasion.TD_TESTDATE = occasion.person.TESTDATE;
    for (int i = 0; i < kRawScoreCount; ++i) {
        occasion.RawScores[i] = kSubtests[i].formMax / 2;
    }
    occasion.RawScores[RAW_SIFFERREPETITION] =
        occasion.RawScores[RAW_SRFRAM] + occasion.RawScores[RAW_SRBAK] + occasion.RawScores[RAW_SS];
    return occasion;
}
