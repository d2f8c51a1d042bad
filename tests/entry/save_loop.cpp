// SPDX-License-Identifier: Apache-2.0
// Saves test occasions until it is killed: each round a new occasion (marked "v1", Blockmönster 1)
// and then a change of it (marked "v2", Blockmönster 2), the way the raw-score form saves them.
// Used by the crash test, which kills it at random moments.

#include "db.h"
#include "save_occasion.h"
#include "subtest_table.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || DoConnect("", "", argv[1]) != 1) {
        std::fprintf(stderr, "usage: save_loop DATABASE\n");
        return 2;
    }
    // Connected: the test may now kill at any moment.
    std::fputc('r', stdout);
    std::fflush(stdout);
    for (;;) {
        if (DoReadNameID() != DB_DONE) {
            return 1;
        }
        resetTestOccasion();
        TestOccasion& occasion = testOccasion();
        std::strcpy(occasion.person.NAMN, "Kraschtest");
        std::strcpy(occasion.person.TESTLEDARE, "Slumpen");
        std::strcpy(occasion.person.OTHER, "v1");
        occasion.person.SEX = 2;
        occasion.person.BORNDATE = DateValue{1970, 1, 1};
        occasion.TD_TESTDATE = DateValue{2024, 3, 15};
        for (int i = 0; i < kRawScoreCount; ++i) {
            occasion.RawScores[i] = 5;
        }
        occasion.RawScores[RAW_BLOCKMONSTER] = 1;
        if (saveTestOccasion(occasion, 0) != 1) {
            return 1;
        }
        std::strcpy(occasion.person.OTHER, "v2");
        occasion.RawScores[RAW_BLOCKMONSTER] = 2;
        if (saveTestOccasion(occasion, 1) != 1) {
            return 1;
        }
    }
}
