// SPDX-License-Identifier: Apache-2.0
// Stores one test person with raw scores in DODODA.db of the working directory, through the
// program's own statements: what a psychologist's first test in the program leaves, so that the
// README's report commands have someone to report on. Exit 0 when stored.

#include "db.h"
#include "message_box.h"
#include "typical_occasion.h"

#include <cstdio>

int main() {
    setMessageBoxHandler([](const MessageRequest& request) {
        std::fprintf(stderr, "%s\n", request.text.c_str());
        return int{AnswerOk};
    });
    if (DoConnect("", "", kDatabaseFileName) != 1) {
        return 1;
    }
    TestOccasion occasion = typicalOccasion();
    const bool stored = DoInsertPD(occasion.person) == DB_DONE && DoInsertTD(occasion) == DB_DONE;
    DoDisconnect();
    return stored ? 0 : 1;
}
