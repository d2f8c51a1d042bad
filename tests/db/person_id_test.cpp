// SPDX-License-Identifier: Apache-2.0
// Person IDs that do not fit the program's 32 bits are named as stored and never read as another
// person; an export's log row names its persons so that a person's rows find it.

#include "access_log.h"
#include "database_fixture.h"
#include "export_log_detail.h"
#include "stored_id.h"

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

TEST(StoredId, NamesTheStoredValueAndRefusesArgumentsThatDoNotFit) {
    EXPECT_EQ(storedIdName("4294967297"), "ID 4294967297");
    EXPECT_EQ(storedIdName("1.5"), "ID \"1.5\"");
    EXPECT_EQ(storedIdName("a\x1b[2J"), "ID \"a?[2J\"");
    EXPECT_EQ(storedIdName(nullptr), "ID NULL");
    EXPECT_NE(unreadableIdMessage("4294967297", "x").find("ID 4294967297 ryms inte"),
              std::string::npos);
    EXPECT_NE(unreadableIdMessage("abc", "x").find("är inget heltal"), std::string::npos);

    EXPECT_EQ(personIdArgumentProblem("--id", "0"), "");
    EXPECT_EQ(personIdArgumentProblem("--id", "2147483647"), "");
    EXPECT_EQ(personIdArgumentProblem("--id", "4294967297").rfind("--id 4294967297 ryms inte", 0),
              0u);
    EXPECT_EQ(personIdArgumentProblem("--id", "-1").rfind("--id -1 ryms inte", 0), 0u);
    EXPECT_NE(personIdArgumentProblem("--id", "2x"), "");
    EXPECT_NE(personIdArgumentProblem("--id", ""), "");
}

class PersonIds : public DatabaseTest {};

TEST_F(PersonIds, TheListNamesAnIdTooLargeAndReadsNoOtherPersonInItsPlace) {
    SKIP_ON_SERVER("the server's INTEGER column refuses an ID that does not fit 32 bits");
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (0, 'Noll')");
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (1, 'Ett')");
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (4294967297, 'Stort')");
    std::vector<PersonListRow> rows;
    ASSERT_EQ(DoListPD(9, 0, [&](const PersonListRow& row) { rows.push_back(row); }), DB_DONE);
    ASSERT_EQ(rows.size(), 3u);
    for (int i : {0, 1}) {
        EXPECT_TRUE(rows[i].idRead) << rows[i].NAMN;
        EXPECT_EQ(rows[i].ID, i);
    }
    EXPECT_STREQ(rows[2].NAMN, "Stort");
    EXPECT_FALSE(rows[2].idRead);
    EXPECT_STREQ(rows[2].storedId, "4294967297");
}

TEST_F(PersonIds, AnExportRowIsFoundByEachPersonItNames) {
    setAccessLogUser("psykolog");
    for (const std::string& detail : exportLogDetails({1, 2, 3}, "e.txt")) {
        ASSERT_EQ(DoAppendAccessLog(AccessEvent::Exported, std::nullopt, detail), DB_DONE);
    }
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::JsonWritten, 4, "r.json"), DB_DONE);
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::Printed, std::nullopt, "(ID 4) skrivare"), DB_DONE);
    for (const std::int32_t person : {1, 2, 3, 4, 5}) {
        std::vector<std::string> details;
        AccessLogFilter filter;
        filter.person = person;
        ASSERT_EQ(DoListAccessLog(filter,
                                  [&](const AccessLogRow& row) { details.push_back(row.detail); }),
                  DB_DONE);
        const std::vector<std::string> expected =
            person <= 3   ? std::vector<std::string>{"3 testpersoner (ID 1-3) till e.txt"}
            : person == 4 ? std::vector<std::string>{"r.json"}
                          : std::vector<std::string>{};
        EXPECT_EQ(details, expected) << person;
    }
}

} // namespace
