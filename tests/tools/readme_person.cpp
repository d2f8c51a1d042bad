// SPDX-License-Identifier: Apache-2.0
// Stores one test person with raw scores in DODODA.db of the working directory, through the
// program's own statements: what a psychologist's first test in the program leaves, so that the
// README's report commands have someone to report on. Exit 0 when stored.

#include "db.h"
#include "message_box.h"
#include "subtest_table.h"
#include "test_occasion.h"

#include <cstdio>
#include <cstring>

int main() {
    setMessageBoxHandler([](const MessageRequest& request) {
        std::fprintf(stderr, "%s\n", request.text.c_str());
        return int{AnswerOk};
    });
    if (DoConnect("", "", kDatabaseFileName) != 1) {
        return 1;
    }
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
    const bool stored = DoInsertPD(occasion.person) == DB_DONE && DoInsertTD(occasion) == DB_DONE;
    DoDisconnect();
    return stored ? 0 : 1;
}
