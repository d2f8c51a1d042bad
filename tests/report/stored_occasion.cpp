// SPDX-License-Identifier: Apache-2.0
#include "stored_occasion.h"

#include "db.h"
#include "subtest_table.h"

#include <cstring>

int storeHalfScoredPerson(const char* name, int years) {
    TestOccasion& occasion = testOccasion();
    resetTestOccasion();
    PersonRecord& person = occasion.person;
    std::strcpy(person.NAMN, name);
    std::strcpy(person.TESTLEDARE, "Åsa Öberg");
    std::strcpy(person.OTHER, "Inga anmärkningar");
    person.SEX = 1;
    person.BORNDATE = DateValue{1960, 3, 10};
    person.TESTDATE = DateValue{static_cast<std::int16_t>(1960 + years), 5, 4};
    occasion.TD_TESTDATE = person.TESTDATE;
    for (int i = 0; i < kRawScoreCount; ++i) {
        occasion.RawScores[i] = kSubtests[i].formMax / 2;
    }
    occasion.RawScores[RAW_SIFFERREPETITION] =
        occasion.RawScores[RAW_SRFRAM] + occasion.RawScores[RAW_SRBAK] + occasion.RawScores[RAW_SS];
    if (DoInsertPD(person) != DB_DONE || DoInsertTD(occasion) != DB_DONE) {
        return -1;
    }
    return person.ID;
}

bool loadStoredOccasion(int id) {
    TestOccasion& occasion = testOccasion();
    resetTestOccasion();
    return DoReadPD(id, occasion.person) == DB_DONE && DoReadTD(occasion) != DB_FAILED;
}
