// SPDX-License-Identifier: Apache-2.0
// Person IDs that do not fit the program's 32 bits are named as stored; an export's log row names
// its persons so that a person's rows find it.

#include "export_log_detail.h"
#include "stored_id.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ExportLogDetail, ListsTheIdsAsRangesBeforeTheFile) {
    struct Case {
        std::vector<std::int32_t> ids;
        const char* detail;
    };
    const Case cases[] = {
        {{3, 1, 2}, "3 testpersoner (ID 1-3) till e.txt"},
        {{7, 1, 2, 3, 2}, "4 testpersoner (ID 1-3, 7) till e.txt"},
        {{0, 2147483647}, "2 testpersoner (ID 0, 2147483647) till e.txt"},
        {{}, "0 testpersoner till e.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exportLogDetails(c.ids, "e.txt"), std::vector<std::string>{c.detail});
    }
}

TEST(ExportLogDetail, ALongListIsSplitAndEveryIdIsFoundInItsPart) {
    std::vector<std::int32_t> ids;
    for (std::int32_t id = 1; id <= 600; id += 2) {
        ids.push_back(id);
    }
    const std::vector<std::string> details = exportLogDetails(ids, std::string(600, 'x'));
    ASSERT_GT(details.size(), 1u);
    EXPECT_NE(details[0].find("; del 1 av " + std::to_string(details.size()) + ") till xx"),
              std::string::npos)
        << details[0];
    for (const std::int32_t id : {1, 2, 299, 599, 600}) {
        int holders = 0;
        for (const std::string& detail : details) {
            // The list always comes before the file, inside what the detail column keeps.
            EXPECT_LT(detail.find(") till "), 500u);
            holders += exportLogDetailHolds(detail, id) ? 1 : 0;
        }
        EXPECT_EQ(holders, id % 2 == 1 ? 1 : 0) << id;
    }
}

TEST(ExportLogDetail, MatchesOnlyTheListedPersons) {
    struct Case {
        const char* detail;
        std::int32_t person;
        bool holds;
    };
    const Case cases[] = {
        {"4 testpersoner (ID 1-3, 7) till e.txt", 2, true},
        {"4 testpersoner (ID 1-3, 7) till e.txt", 7, true},
        {"4 testpersoner (ID 1-3, 7) till e.txt", 4, false},
        {"4 testpersoner (ID 1-3, 7) till e.txt", 0, false},
        {"4 testpersoner (ID 1-3, 7) till e.txt", 37, false},
        // A file named like a list is not read as one.
        {"1 testpersoner (ID 1) till (ID 5).txt", 5, false},
        {"900 testpersoner (ID 1-900; del 1 av 2) till e.txt", 900, true},
        // No list to read: an older row, or IDs that could not be read.
        {"6 testpersoner till export.txt", 5, true},
        {"okänt antal testpersoner (ID okända) till e.txt", 5, true},
        {"0 testpersoner till e.txt", 5, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exportLogDetailHolds(c.detail, c.person), c.holds) << c.detail << " " << c.person;
    }
}

TEST(StoredId, NamesTheStoredValueAsAPersonCanReadIt) {
    EXPECT_EQ(storedIdName("4294967297"), "ID 4294967297");
    EXPECT_EQ(storedIdName("1.5"), "ID \"1.5\"");
    EXPECT_EQ(storedIdName("a\x1b[2J"), "ID \"a?[2J\"");
    EXPECT_EQ(storedIdName(nullptr), "ID NULL");
    EXPECT_NE(unreadableIdMessage("abc", "x").find("är inget heltal; x."), std::string::npos);
    for (const char* fits : {"0", "2147483647"}) {
        EXPECT_EQ(personIdArgumentProblem("--id", fits), "") << fits;
    }
    for (const char* wrong : {"2147483648", "-1", "2x", ""}) {
        EXPECT_NE(personIdArgumentProblem("--id", wrong), "") << wrong;
    }
}

} // namespace
