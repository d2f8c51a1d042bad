// SPDX-License-Identifier: Apache-2.0
#include "test_occasion.h"

#include "clock.h"

#include <cstring>

TestOccasion& testOccasion() {
    static TestOccasion occasion{};
    return occasion;
}

void resetTestOccasion() {
    TestOccasion& occasion = testOccasion();
    std::memset(&occasion.person, 0, sizeof occasion.person);
    occasion.person.TESTDATE = today();
    for (int& raw : occasion.RawScores) {
        raw = NOT_ADMINISTERED;
    }
}
