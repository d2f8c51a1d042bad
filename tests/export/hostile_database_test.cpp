// SPDX-License-Identifier: Apache-2.0
// The export run against database contents that no screen of the program would have written:
// rows typed in by hand, by another tool or by an attacker. Whatever is stored, the export must
// not crash, must not score a person against norms that were not chosen by a valid age, and must
// say once what it could not use.

#include "access_log.h"
#include "broken_norm_rules.h"
#include "export_writer.h"
#include "scoring_fixture.h"
#include "subtest_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::string> fileLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos;
         tab = line.find('\t', start)) {
        result.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    return result;
}

ExportSelection allGroups() {
    ExportSelection selection;
    for (bool& group : selection.groups) {
        group = true;
    }
    return selection;
}

// Cell positions with every group chosen.
constexpr std::size_t kIdCell = 0;
constexpr std::size_t kAgeCell = 11;
constexpr std::size_t kSexCell = 12;
constexpr std::size_t kFirstRawCell = 15;       // Bl
constexpr std::size_t kLikheterCell = 17;       // Li
constexpr std::size_t kBandCell = 15 + 22;      // NORMGRP
constexpr std::size_t kLastCell = 37 + 19 + 12; // I_SI
constexpr std::size_t kCellCount = kLastCell + 1;

class HostileDatabase : public ScoringTest {
  protected:
    void SetUp() override {
        ScoringTest::SetUp();
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '25-29 år', 4, '25-29 år')");
        insertNormRows("25-29 år", evenBounds());
        insertNormRows("Referensgrupp", evenBounds());
        insertIndexRows();
        completeNormTables();
        path_ = dir_.file("export.txt");
    }

    // A person aged 25 with every raw score 10, written by hand; each value is SQL text.
    void storePerson(const std::string& id, const std::string& name,
                     const std::string& testDate = "'2010-03-07'",
                     const std::string& bornDate = "'1985-01-02'",
                     const std::string& likheter = "10", const std::string& sex = "2") {
        exec("INSERT INTO TESTPERSON (ID, NAMN, SEX, TESTDATE, BORNDATE, HANDEDNESS) VALUES (" +
             id + ", '" + name + "', " + sex + ", " + testDate + ", " + bornDate + ", 2)");
        // The spans stay within their form maxima and the digit-span parts add up to their total:
        // only the value under test is hostile.
        std::int32_t scores[kRawScoreCount];
        for (int i = 0; i < kRawScoreCount; ++i) {
            const int maximum = kSubtests[i].formMax;
            scores[i] = maximum > 0 && maximum < 10 ? maximum : 10;
        }
        splitDigitSpanTotal(scores);
        std::string raw = "INSERT INTO TESTDATA VALUES (" + id + ", '2010-03-07'";
        for (int i = 0; i < kRawScoreCount; ++i) {
            raw += ", " + (i == RAW_LIKHETER ? likheter : std::to_string(scores[i]));
        }
        exec(raw + ")");
    }

    std::vector<std::string> exportAll(ExportResult expected = ExportResult::Written) {
        EXPECT_EQ(writeExport(path_.string(), allGroups(), occasion_), expected);
        return fileLines(path_);
    }

    // The messages that name the person.
    std::vector<std::string> messagesAbout(const std::string& name) const {
        std::vector<std::string> found;
        for (const std::string& text : messages_.texts()) {
            if (text.find(name) != std::string::npos) {
                found.push_back(text);
            }
        }
        return found;
    }

    std::filesystem::path path_;
};

// Dates that give no test age: that person's derived cells stay empty, with one message naming
// the person; the sound person exported beside it keeps every score.
TEST_F(HostileDatabase, StoredDatesWithoutATestAge) {
    SKIP_ON_SERVER("the server's typed columns refuse such values when they are stored");
    const char* const badDates[] = {"''",           "'abc'",         "'0000-00-00'",
                                    "'9999-99-99'", "'40000-01-01'", "NULL",
                                    "'2010-02-30'", "2451545"};
    storePerson("1", "Frisk");
    int id = 2;
    for (const char* date : badDates) {
        storePerson(std::to_string(id), "Datum " + std::to_string(id),
                    id % 2 ? date : "'2010-03-07'", id % 2 ? "'1985-01-02'" : date);
        ++id;
    }
    const std::vector<std::string> lines = exportAll();
    ASSERT_EQ(lines.size(), 2u + std::size(badDates));
    const std::vector<std::string> sound = cells(lines[1]);
    ASSERT_EQ(sound.size(), kCellCount);
    EXPECT_EQ(sound[kAgeCell], "25.2.5");
    EXPECT_EQ(sound[kBandCell], "25-29 \xE5r");
    EXPECT_EQ(sound[kLastCell], "31");

    for (std::size_t line = 2; line < lines.size(); ++line) {
        const std::string name = "Datum " + std::to_string(line);
        SCOPED_TRACE(name + ": " + badDates[line - 2]);
        const std::vector<std::string> row = cells(lines[line]);
        ASSERT_EQ(row.size(), kCellCount);
        EXPECT_EQ(row[kIdCell], std::to_string(line));
        EXPECT_EQ(row[kAgeCell], "");
        EXPECT_EQ(row[kLikheterCell], "10"); // the raw scores are stored facts and stay
        for (std::size_t derived = kBandCell; derived <= kLastCell; ++derived) {
            EXPECT_EQ(row[derived], "") << derived;
        }
        const std::vector<std::string> said = messagesAbout(name);
        ASSERT_EQ(said.size(), 1u);
        EXPECT_NE(said[0].find("(ID " + std::to_string(line) + ")"), std::string::npos);
        EXPECT_NE(said[0].find("tomma"), std::string::npos) << said[0];
    }
    EXPECT_EQ(messages_.texts().size(), std::size(badDates));
}

// Numbers that do not fit 32 bits, or are no integers at all, are never wrapped or cut into
// another number: their cells stay empty, and a raw score among them keeps the person unscored.
TEST_F(HostileDatabase, NumbersThatDoNotFit) {
    SKIP_ON_SERVER("the server's typed columns refuse such values when they are stored");
    storePerson("1", "Stor poäng", "'2010-03-07'", "'1985-01-02'", "9000000000");
    storePerson("2", "Bråkdel", "'2010-03-07'", "'1985-01-02'", "2.5");
    storePerson("3", "Text", "'2010-03-07'", "'1985-01-02'", "'12abc'");
    storePerson("4", "Kön", "'2010-03-07'", "'1985-01-02'", "10", "4294967298");
    // 4294967297 is 2^32 + 1: cut to 32 bits it would be person 1.
    storePerson("4294967297", "Stort ID");
    const std::vector<std::string> lines = exportAll();
    ASSERT_EQ(lines.size(), 5u);
    for (std::size_t line = 1; line <= 3; ++line) {
        const std::vector<std::string> row = cells(lines[line]);
        ASSERT_EQ(row.size(), kCellCount);
        EXPECT_EQ(row[kLikheterCell], "") << line;
        EXPECT_EQ(row[kFirstRawCell], "10") << line;
        EXPECT_EQ(row[kAgeCell], "") << line;
        EXPECT_EQ(row[kBandCell], "") << line;
        EXPECT_EQ(row[kLastCell], "") << line;
    }
    // An unreadable sex leaves the scores alone: they do not depend on it.
    const std::vector<std::string> sex = cells(lines[4]);
    EXPECT_EQ(sex[kSexCell], "");
    EXPECT_EQ(sex[kBandCell], "25-29 \xE5r");
    EXPECT_EQ(sex[kLastCell], "31");
    // The ID itself: never wrapped into another person's number, but named as stored, and the
    // person left out of the file and of the export's log row.
    for (std::size_t line = 1; line < lines.size(); ++line) {
        EXPECT_EQ(cells(lines[line])[kIdCell], std::to_string(line));
    }
    for (const char* name : {"Stor poäng", "Bråkdel", "Text", "Kön", "Stort ID"}) {
        EXPECT_EQ(messagesAbout(name).size(), 1u) << name;
    }
    EXPECT_NE(messagesAbout("Stort ID")[0].find("(ID 4294967297): ID 4294967297 ryms inte"),
              std::string::npos)
        << messagesAbout("Stort ID")[0];
    EXPECT_EQ(messages_.texts().size(), 5u);
    std::vector<std::string> logged;
    DoListAccessLog({}, [&](const AccessLogRow& row) { logged.push_back(row.detail); });
    EXPECT_EQ(logged, std::vector<std::string>{"4 testpersoner (ID 1-4) till " + path_.string()});
}

// NULL in every kind of column: texts empty, numbers 0, raw scores not administered, dates
// empty, and without dates no scores.
TEST_F(HostileDatabase, NullInEveryColumnKind) {
    exec("INSERT INTO TESTPERSON (ID) VALUES (1)");
    exec("INSERT INTO TESTDATA (PERSONALDATA_ID) VALUES (1)");
    const std::vector<std::string> lines = exportAll();
    ASSERT_EQ(lines.size(), 2u);
    std::string expected = "1\t" + std::string(8, '\t') + "\t\t\t0\t0\t\t";
    for (int raw = 0; raw < 22; ++raw) {
        expected += "-9\t";
    }
    expected += std::string(1 + 19 + 12, '\t');
    EXPECT_EQ(lines[1], expected);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("(ID 1)"), std::string::npos);
}

// The number of rules a broken-norm-rules message says the tables break; -1 when it says none.
int brokenRuleCount(const std::string& message) {
    const std::string before = "bryter mot ";
    const std::size_t at = message.find(before);
    return at == std::string::npos ? -1 : std::atoi(message.c_str() + at + before.size());
}

// Index rows missing for a whole key, or doubled: no crash, a missing score is never another
// person's, and of doubled rows the first one counts. Each export names the rules the tables
// break once, however many persons it holds.
TEST_F(HostileDatabase, MissingAndDuplicatedNormRows) {
    storePerson("1", "Ett");
    exec("INSERT INTO INDEX_NORMER VALUES ('Standardgrupp', 'VFI', 15, 999, 1.0, 1, 2, 3, 4)");
    exec("INSERT INTO NORMER SELECT NORMGRUPP, DELSKALA, DELGRUPP, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, "
         "1, 1, 1, 1, 1, 1, 1, 1, 1 FROM NORMER WHERE DELGRUPP = '25-29 år'");
    const std::vector<std::string> doubled = exportAll();
    ASSERT_EQ(doubled.size(), 2u);
    // Every scaled score 5 from the first norm rows; VFI 15 gives 46 from its first row.
    EXPECT_EQ(cells(doubled[1])[kLastCell - 3], "46");
    EXPECT_EQ(cells(doubled[1])[kBandCell + 3], "5");
    // Which of two rows with one key a table gives first is the database's choice (SQLite and a
    // server differ): the doubled VFI row is named either as doubled or by the rules it breaks.
    ASSERT_EQ(messages_.texts().size(), 1u);
    const int rulesBroken = brokenRuleCount(messages_.texts()[0]);
    EXPECT_GE(rulesBroken, 20) << messages_.texts()[0];
    EXPECT_NE(messages_.texts()[0].find("INDEX_NORMER (Standardgrupp, VFI, 15): "),
              std::string::npos)
        << messages_.texts()[0];
    messages_.clear();

    storePerson("2", "Två");
    exec("DELETE FROM INDEX_NORMER WHERE \"INDEX\" IN ('HIK', 'GAI')");
    const std::vector<std::string> lines = exportAll();
    ASSERT_EQ(lines.size(), 3u);
    for (std::size_t line = 1; line <= 2; ++line) {
        const std::vector<std::string> row = cells(lines[line]);
        EXPECT_EQ(row[kLastCell - 5], "") << line; // I_HIK: no row, no score, never 0
        EXPECT_EQ(row[kLastCell - 4], "") << line; // I_GAI
        EXPECT_EQ(row[kLastCell - 3], "46") << line;
    }
    // Each person is told about both missing keys, after the one word on the tables.
    const std::vector<std::string> said = messages_.texts();
    ASSERT_EQ(said.size(), 5u);
    EXPECT_TRUE(isBrokenNormRulesMessage(said[0]));
    // The rules broken before, and now HIK and GAI missing.
    EXPECT_EQ(brokenRuleCount(said[0]), rulesBroken + 2) << said[0];
    for (std::size_t i = 1; i < said.size(); ++i) {
        EXPECT_NE(said[i].find("har inga rader"), std::string::npos) << said[i];
    }
}

// A table gone: one message for each failing statement, never a second one for its fetch, and an
// export that is neither reported as written nor saved.
TEST_F(HostileDatabase, MissingTables) {
    const struct {
        const char* table;
        std::size_t databaseMessages;
    } cases[] = {
        {"TESTDATA", 1},
        {"TESTPERSON", 1},
        {"NORMER", 2 * kSubscaleCount}, // each lookup once for the whole run
        {"INDEX_NORMER", kIndexCount},  // each index's range once
        {"NORMGRUPPER", 2},             // the band's description, read for each person
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        exec("DELETE FROM TESTPERSON");
        exec("DELETE FROM TESTDATA");
        storePerson("1", "Ett");
        storePerson("2", "Två");
        execAsOwner(std::string("ALTER TABLE ") + c.table + " RENAME TO SAVED");
        messages_.clear();
        const std::vector<std::string> lines = exportAll(ExportResult::ReadFailed);
        execAsOwner(std::string("ALTER TABLE SAVED RENAME TO ") + c.table);
        // An export that a database error spoilt is never saved.
        EXPECT_TRUE(lines.empty());
        EXPECT_FALSE(std::filesystem::exists(path_));
        std::size_t databaseMessages = 0;
        for (const std::string& text : messages_.texts()) {
            EXPECT_EQ(text.find("sequence"), std::string::npos) << text;
            databaseMessages += saysTableIsMissing(text) ? 1 : 0;
        }
        EXPECT_EQ(databaseMessages, c.databaseMessages);
    }
}

// Texts far longer than their fields and texts that are no UTF-8: cut on a whole letter, written
// with a stand-in for each broken byte, and the line stays one line.
TEST_F(HostileDatabase, LongAndBrokenTexts) {
    SKIP_ON_SERVER("the server's typed columns refuse such values when they are stored");
    std::string longName = "a";
    for (int i = 0; i < 5000; ++i) {
        longName += "å";
    }
    storePerson("1", longName);
    exec("UPDATE TESTPERSON SET ADRESS = CAST(X'41FF42FE' AS TEXT), OTHER = 'rad ett' || "
         "char(13, 10) || 'rad två'");
    const std::vector<std::string> lines = exportAll();
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<std::string> row = cells(lines[1]);
    ASSERT_EQ(row.size(), kCellCount);
    // 196 bytes fit the field: "a" and 97 whole letters; the half letter after them is dropped.
    EXPECT_EQ(row[1], "a" + std::string(97, '\xE5'));
    EXPECT_EQ(row[2], "A?B?");
    EXPECT_EQ(row[14], "rad ett  rad tv\xE5");
    EXPECT_EQ(row[kLastCell], "31");
    // The broken text is scored as stored and named once.
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("ADRESS är inte giltig UTF-8"), std::string::npos);
}

} // namespace
