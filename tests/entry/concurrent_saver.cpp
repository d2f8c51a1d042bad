// SPDX-License-Identifier: Apache-2.0
// Saves new test occasions the way the raw-score form does, as one of several workstations at
// once: connects, says 'r' on standard output, waits for a byte on standard input (so that all
// savers start together), then saves COUNT new occasions named "Samtidig TAG NUMBER". Any
// message the program would have shown is written to standard error and makes the exit code 1.
//
//   concurrent_saver DATABASE-FILE-OR-CONNECTION-STRING TAG COUNT

#include "db.h"
#include "message_box.h"
#include "save_occasion.h"
#include "subtest_table.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: concurrent_saver DATABASE TAG COUNT\n");
        return 2;
    }
    int shown = 0;
    setMessageBoxHandler([&](const MessageRequest& request) {
        std::fprintf(stderr, "%s\n", request.text.c_str());
        ++shown;
        return static_cast<int>(AnswerOk);
    });
    const std::string source = argv[1];
    const int connected = source.find('=') != std::string::npos ? DoConnectString(source.c_str())
                                                                : DoConnect("", "", source.c_str());
    if (connected != 1) {
        return 2;
    }
    std::fputc('r', stdout);
    std::fflush(stdout);
    char go = 0;
    if (read(STDIN_FILENO, &go, 1) != 1) {
        return 2;
    }
    const int count = std::atoi(argv[3]);
    // The start screen reads the counter once; every save must still get a fresh ID.
    if (DoReadNameID() != DB_DONE) {
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        resetTestOccasion();
        TestOccasion& occasion = testOccasion();
        std::snprintf(occasion.person.NAMN, sizeof occasion.person.NAMN, "Samtidig %s %d", argv[2],
                      i);
        std::strcpy(occasion.person.TESTLEDARE, "Samtidig");
        occasion.person.SEX = 1;
        occasion.person.BORNDATE = DateValue{1970, 1, 1};
        occasion.TD_TESTDATE = DateValue{2024, 3, 15};
        for (int k = 0; k < kRawScoreCount; ++k) {
            occasion.RawScores[k] = 5;
        }
        if (saveTestOccasion(occasion, 0) != 1) {
            std::fprintf(stderr, "save %d failed\n", i);
            return 1;
        }
    }
    DoDisconnect();
    return shown == 0 ? 0 : 1;
}
