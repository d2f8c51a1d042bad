// SPDX-License-Identifier: Apache-2.0
#include "database_fixture.h"
#include "statement.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using ListStatements = DatabaseTest;
using NormStatements = DatabaseTest;
using UserStatements = DatabaseTest;
using ExportStatement = DatabaseTest;

std::string readText(const char* sql) {
    Statement statement;
    statement.executeDirect(sql);
    char text[256] = {};
    statement.bindColumnText(1, text, sizeof text);
    statement.fetch();
    statement.commit();
    return text;
}

std::vector<std::int32_t> listIds(int column, int descending) {
    std::vector<std::int32_t> ids;
    EXPECT_EQ(
        DoListPD(column, descending, [&](const PersonListRow& row) { ids.push_back(row.ID); }),
        DB_DONE);
    return ids;
}

TEST_F(ListStatements, DatesAreStoredAsIsoText) {
    PersonRecord person = samplePerson("Datum");
    person.TESTDATE = DateValue{2009, 3, 7};
    ASSERT_EQ(DoInsertPD(person), DB_DONE);
    EXPECT_EQ(readText("SELECT TESTDATE FROM TESTPERSON"), "2009-03-07");
}

TEST_F(ListStatements, SortsByStoredValuesInBothDirections) {
    struct Entry {
        const char* name;
        std::int32_t sex;
        DateValue born;
    };
    // Born in 1999-12-01 is later than 1999-02-28, though "12" < "2" would sort it first as
    // unpadded text; SEX 10 would sort before 2 as text.
    const Entry entries[] = {
        {"Örjan", 2, {1999, 2, 28}}, {"Adam", 10, {1999, 12, 1}}, {"Bertil", 1, {1950, 1, 1}}};
    for (const Entry& entry : entries) {
        PersonRecord person = samplePerson(entry.name);
        person.SEX = entry.sex;
        person.BORNDATE = entry.born;
        ASSERT_EQ(DoInsertPD(person), DB_DONE);
    }
    EXPECT_EQ(listIds(4, 0), (std::vector<std::int32_t>{3, 1, 2}));
    EXPECT_EQ(listIds(4, 1), (std::vector<std::int32_t>{2, 1, 3}));
    EXPECT_EQ(listIds(5, 0), (std::vector<std::int32_t>{3, 1, 2}));
    EXPECT_EQ(listIds(0, 0), (std::vector<std::int32_t>{2, 3, 1}));
    EXPECT_EQ(listIds(9, 1), (std::vector<std::int32_t>{3, 2, 1}));
}

TEST_F(ListStatements, RowsCarryTheirFieldsAndNullsDoNotLeakBetweenRows) {
    PersonRecord person = samplePerson("Första");
    ASSERT_EQ(DoInsertPD(person), DB_DONE);
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (5, 'Tom')");
    std::vector<PersonListRow> rows;
    ASSERT_EQ(DoListPD(9, 0, [&](const PersonListRow& row) { rows.push_back(row); }), DB_DONE);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_STREQ(rows[0].NAMN, "Första");
    EXPECT_STREQ(rows[0].TESTLEDARE, "Åsa Öberg");
    EXPECT_EQ(rows[0].TESTDATE, person.TESTDATE);
    EXPECT_EQ(rows[0].BORNDATE, person.BORNDATE);
    EXPECT_EQ(rows[0].SEX, 2);
    EXPECT_STREQ(rows[0].HOMELANGUAGE, "Svenska");
    EXPECT_STREQ(rows[1].NAMN, "Tom");
    EXPECT_STREQ(rows[1].TESTLEDARE, "");
    EXPECT_EQ(rows[1].SEX, 0);
    EXPECT_EQ(rows[1].TESTDATE, (DateValue{0, 0, 0}));
}

class NormRows : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        exec("INSERT INTO NORMER VALUES ('Standardgrupp', 'Ordförråd', '25-29 år', 1, 2, 3, 4, 5, "
             "6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 57)");
        exec("INSERT INTO INDEX_NORMER VALUES ('Standardgrupp', 'VFI', 30, 100, 50.0, 94, 106, "
             "93, 107)");
        exec("INSERT INTO INDEX_NORMER VALUES ('Standardgrupp', 'VFI', 3, 45, 0.1, 42, 55, 41, "
             "56)");
        exec("INSERT INTO INDEX_NORMER VALUES ('Standardgrupp', 'VFI', 57, 155, 99.9, 145, 158, "
             "144, 159)");
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '18-19 år', 2, '18-19 år')");
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', 'Referensgrupp', 14, "
             "'Referensgrupp (20-34 år)')");
        exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', '16-17 år', 1, '16-17 år')");
    }
};

TEST_F(NormRows, NormRowIsReadAndAMissingOneGivesZeroWithoutMessage) {
    NormRequest request{};
    std::strcpy(request.NORMGRUPP, "Standardgrupp");
    std::strcpy(request.DELSKALA, "Ordförråd");
    std::strcpy(request.DELGRUPP, "25-29 år");
    ASSERT_EQ(DoReadNormer(request), DB_DONE);
    EXPECT_EQ(request.S[0], 1);
    EXPECT_EQ(request.S[17], 18);
    EXPECT_EQ(request.S[18], 57);
    std::strcpy(request.DELGRUPP, "30-34 år");
    EXPECT_EQ(DoReadNormer(request), DB_FAILED);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(NormRows, IndexRowAndRange) {
    IndexResult result{};
    ASSERT_EQ(DoReadIndexNormer("Standardgrupp", "VFI", 30, result), DB_DONE);
    EXPECT_EQ(result.IK, 100);
    EXPECT_FLOAT_EQ(result.PERC, 50.0f);
    EXPECT_EQ(result.KONF_LOW90, 94);
    EXPECT_EQ(result.KONF_HIGH90, 106);
    EXPECT_EQ(result.KONF_LOW95, 93);
    EXPECT_EQ(result.KONF_HIGH95, 107);
    result.IK = 7;
    EXPECT_EQ(DoReadIndexNormer("Standardgrupp", "VFI", 31, result), DB_NO_ROW);
    EXPECT_EQ(result.IK, 7);
    EXPECT_FLOAT_EQ((DoReadIndexNormer("Standardgrupp", "VFI", 3, result), result.PERC), 0.1f);

    std::int32_t maximum = 0;
    std::int32_t minimum = 0;
    ASSERT_EQ(DoReadIndexRange("Standardgrupp", "VFI", maximum, minimum), DB_DONE);
    EXPECT_EQ(maximum, 57);
    EXPECT_EQ(minimum, 3);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(NormRows, DescriptionIsReadAndKeptWhenThereIsNoRow) {
    TestOccasion occasion{};
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    std::strcpy(occasion.ageBand, "Referensgrupp");
    ASSERT_EQ(DoReadNormDescription(occasion), DB_DONE);
    EXPECT_STREQ(occasion.normDescription, "Referensgrupp (20-34 år)");
    std::strcpy(occasion.ageBand, "99-99 år");
    EXPECT_EQ(DoReadNormDescription(occasion), DB_NO_ROW);
    EXPECT_STREQ(occasion.normDescription, "Referensgrupp (20-34 år)");
}

TEST_F(NormRows, SubgroupsAreListedInSequenceOrder) {
    std::vector<std::string> names;
    DoListDelgrupp("Standardgrupp", [&](const char* name) { names.emplace_back(name); });
    EXPECT_EQ(names, (std::vector<std::string>{"16-17 år", "18-19 år", "Referensgrupp"}));
}

// Subgroup names come from the database and go back into the norm statements: an apostrophe
// must find its own rows, and a name written as SQL must stay a name.
TEST_F(NormRows, SubgroupNamesFromTheDatabaseAreValuesNotSql) {
    const std::string apostrophe = "O'Neills grupp";
    const std::string injection = "x' UNION SELECT PASSWORD FROM SEC --";
    exec("INSERT INTO SEC VALUES ('psykolog', 'Hemlig1234')");
    exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', 'O''Neills grupp', 3, 'Med apostrof')");
    exec("INSERT INTO NORMGRUPPER VALUES ('Standardgrupp', 'x'' UNION SELECT PASSWORD FROM SEC "
         "--', 4, 'Injektion')");
    exec("INSERT INTO NORMER VALUES ('Standardgrupp', 'Ordförråd', 'O''Neills grupp', 11, 12, 13, "
         "14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29)");
    exec("INSERT INTO INDEX_NORMER VALUES ('O''Neill', 'VFI', 20, 90, 25.0, 84, 96, 83, 97)");

    std::vector<std::string> names;
    DoListDelgrupp("Standardgrupp", [&](const char* name) { names.emplace_back(name); });
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[2], apostrophe);
    EXPECT_EQ(names[3], injection);

    TestOccasion occasion{};
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    for (const auto& [band, description] :
         {std::pair{apostrophe, "Med apostrof"}, std::pair{injection, "Injektion"}}) {
        std::strcpy(occasion.ageBand, band.c_str());
        ASSERT_EQ(DoReadNormDescription(occasion), DB_DONE) << band;
        EXPECT_STREQ(occasion.normDescription, description);
    }

    NormRequest request{};
    std::strcpy(request.NORMGRUPP, "Standardgrupp");
    std::strcpy(request.DELSKALA, "Ordförråd");
    std::strcpy(request.DELGRUPP, apostrophe.c_str());
    ASSERT_EQ(DoReadNormerRow(request), DB_DONE);
    EXPECT_EQ(request.S[0], 11);
    std::strcpy(request.DELGRUPP, injection.c_str());
    EXPECT_EQ(DoReadNormerRow(request), DB_NO_ROW);

    IndexResult result{};
    ASSERT_EQ(DoReadIndexNormer("O'Neill", "VFI", 20, result), DB_DONE);
    EXPECT_EQ(result.IK, 90);
    std::int32_t maximum = 0;
    std::int32_t minimum = 0;
    ASSERT_EQ(DoReadIndexRange("O'Neill", "VFI", maximum, minimum), DB_DONE);
    EXPECT_EQ(maximum, 20);
    EXPECT_EQ(DoReadIndexRange("x' OR '1'='1", "VFI", maximum, minimum), DB_NO_ROW);
    EXPECT_TRUE(messages_.texts().empty());
}

// With a norm table gone every lookup fails at its execute: one report each, and no second box
// for the fetch that could not run.
TEST_F(NormRows, FailedExecuteIsReportedOnce) {
    execAsOwner("DROP TABLE NORMER");
    NormRequest request{};
    std::strcpy(request.NORMGRUPP, "Standardgrupp");
    std::strcpy(request.DELSKALA, "Ordförråd");
    std::strcpy(request.DELGRUPP, "25-29 år");
    request.S[0] = 42;
    EXPECT_EQ(DoReadNormerRow(request), DB_FAILED);
    EXPECT_EQ(request.S[0], 42);
    ASSERT_EQ(messages_.texts().size(), 1u);
    // The server names the table in lower case.
    EXPECT_NE(upperCase(messages_.texts()[0]).find("NORMER"), std::string::npos)
        << messages_.texts()[0];

    messages_.clear();
    execAsOwner("DROP TABLE TESTPERSON");
    PersonRecord person{};
    EXPECT_EQ(DoReadPD(1, person), DB_FAILED);
    std::vector<PersonListRow> rows;
    EXPECT_EQ(DoListPD(0, 0, [&](const PersonListRow& row) { rows.push_back(row); }), DB_FAILED);
    EXPECT_EQ(messages_.texts().size(), 2u);
    for (const std::string& text : messages_.texts()) {
        EXPECT_EQ(text.find("sequence"), std::string::npos) << text;
    }
}

TEST_F(UserStatements, PasswordIsComparedExactly) {
    exec("INSERT INTO SEC VALUES ('psykolog', 'Hemlig1234')");
    exec("INSERT INTO SEC VALUES ('tom', '')");
    EXPECT_EQ(DoReadPassword("psykolog", "Hemlig1234"), DB_DONE); // all ten characters count
    EXPECT_EQ(DoReadPassword("psykolog", "Hemlig123"), DB_WRONG_PASSWORD);
    EXPECT_EQ(DoReadPassword("psykolog", "hemlig1234"), DB_WRONG_PASSWORD);
    EXPECT_EQ(DoReadPassword("tom", ""), DB_WRONG_PASSWORD);
    EXPECT_EQ(DoReadPassword("okänd", "Hemlig1234"), DB_NO_ROW);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(UserStatements, TypedTextNeverChangesTheStatement) {
    exec("INSERT INTO SEC VALUES ('psykolog', 'Hemlig1234')");
    EXPECT_EQ(DoReadPassword("o'brien", "x"), DB_NO_ROW);
    EXPECT_EQ(DoReadPassword("x' OR '1'='1", "Hemlig1234"), DB_NO_ROW);
    EXPECT_TRUE(messages_.texts().empty());

    // A password with an apostrophe is stored as typed, and only for the named user.
    exec("INSERT INTO SEC VALUES ('annan', 'Annan12345')");
    ASSERT_EQ(DoUpdatePassword("it's", "psykolog"), DB_DONE);
    EXPECT_EQ(DoReadPassword("psykolog", "it's"), DB_DONE);
    ASSERT_EQ(DoUpdatePassword("x", "psykolog' OR '1'='1"), DB_DONE);
    EXPECT_EQ(DoReadPassword("annan", "Annan12345"), DB_DONE);
    EXPECT_EQ(DoReadPassword("psykolog", "it's"), DB_DONE);
}

std::string storedPassword(const char* user) {
    return readText(
        ("SELECT PASSWORD FROM SEC WHERE USERID = '" + std::string(user) + "'").c_str());
}

bool isArgon2idHash(const std::string& stored) {
    return stored.rfind("$argon2id$", 0) == 0 && stored.size() > 10;
}

TEST_F(UserStatements, PlainTextPasswordLogsInOnceAndIsThenStoredAsItsHash) {
    exec("INSERT INTO SEC VALUES ('psykolog', 'Hemlig1234')");
    exec("INSERT INTO SEC VALUES ('annan', 'Annan12345')");
    EXPECT_EQ(DoReadPassword("psykolog", "fel"), DB_WRONG_PASSWORD);
    EXPECT_EQ(storedPassword("psykolog"), "Hemlig1234"); // a failed login rewrites nothing

    EXPECT_EQ(DoReadPassword("psykolog", "Hemlig1234"), DB_DONE);
    const std::string hash = storedPassword("psykolog");
    EXPECT_TRUE(isArgon2idHash(hash)) << hash;
    EXPECT_EQ(hash.find("Hemlig1234"), std::string::npos);
    EXPECT_EQ(storedPassword("annan"), "Annan12345"); // only the user who logged in

    // From now on the hash is checked, and it is not made again at every login.
    EXPECT_EQ(DoReadPassword("psykolog", "Hemlig1234"), DB_DONE);
    EXPECT_EQ(DoReadPassword("psykolog", "Hemlig123"), DB_WRONG_PASSWORD);
    EXPECT_EQ(DoReadPassword("psykolog", hash.c_str()), DB_WRONG_PASSWORD);
    EXPECT_EQ(storedPassword("psykolog"), hash);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(UserStatements, ChangedPasswordIsStoredAsASaltedHash) {
    exec("INSERT INTO SEC VALUES ('psykolog', 'Hemlig1234')");
    exec("INSERT INTO SEC VALUES ('annan', 'Annan12345')");
    ASSERT_EQ(DoUpdatePassword("nyttord", "psykolog"), DB_DONE);
    ASSERT_EQ(DoUpdatePassword("nyttord", "annan"), DB_DONE);
    const std::string first = storedPassword("psykolog");
    const std::string second = storedPassword("annan");
    EXPECT_TRUE(isArgon2idHash(first)) << first;
    EXPECT_EQ(first.find("nyttord"), std::string::npos);
    EXPECT_NE(first, second); // each hash has a salt of its own
    EXPECT_EQ(DoReadPassword("psykolog", "nyttord"), DB_DONE);
    EXPECT_EQ(DoReadPassword("annan", "nyttord"), DB_DONE);
    EXPECT_EQ(DoReadPassword("psykolog", "Hemlig1234"), DB_WRONG_PASSWORD);
    EXPECT_EQ(storedPassword("psykolog"), first);
}

// Values an older tool, another program or a damaged file may have left in SEC.
TEST_F(UserStatements, StoredValuesThatAreNoHashOfOursAreHandledSafely) {
    // A ten-character plain-text password that happens to look like the start of a hash.
    exec("INSERT INTO SEC VALUES ('dollar', '$argon2id$')");
    EXPECT_EQ(DoReadPassword("dollar", "$argon2id$"), DB_DONE);
    EXPECT_TRUE(isArgon2idHash(storedPassword("dollar")));

    exec("INSERT INTO SEC VALUES ('trasig', '$argon2id$v=19$m=65536,t=2,p=1$AAAA$BBBB')");
    EXPECT_EQ(DoReadPassword("trasig", "$argon2id$v=19$m=65536,t=2,p=1$AAAA$BBBB"),
              DB_WRONG_PASSWORD);
    if (!testingOnServer()) { // the server's column refuses a value this long when it is stored
        exec("INSERT INTO SEC VALUES ('lang', '" + std::string(300, 'x') + "')");
        EXPECT_EQ(DoReadPassword("lang", std::string(300, 'x').c_str()), DB_WRONG_PASSWORD);
    }
    exec("INSERT INTO SEC VALUES ('tom', NULL)");
    EXPECT_EQ(DoReadPassword("tom", "abc"), DB_WRONG_PASSWORD);

    // A hash made with weaker limits than today's is made again at the next login.
    // (Made once with libsodium: 1 pass over 8 KiB, password "abc123".)
    const std::string weak = "$argon2id$v=19$m=8,t=1,p=1$R3mWpy3JzrRzkz2S4qSVJQ$"
                             "3mBNUjyBsD8f2CnYNF7XNgHSW/COyZidS/ndnGWCgOw";
    exec("INSERT INTO SEC VALUES ('svag', '" + weak + "')");
    EXPECT_EQ(DoReadPassword("svag", "abc124"), DB_WRONG_PASSWORD);
    EXPECT_EQ(storedPassword("svag"), weak);
    ASSERT_EQ(DoReadPassword("svag", "abc123"), DB_DONE);
    const std::string renewed = storedPassword("svag");
    EXPECT_NE(renewed.find("$m=65536,t=2,p=1$"), std::string::npos) << renewed;
    EXPECT_EQ(DoReadPassword("svag", "abc123"), DB_DONE);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(ExportStatement, FetchesJoinedRowsInIdOrderIntoTheOccasion) {
    TestOccasion occasion{};
    for (const char* name : {"Ett", "Två", "Tre"}) {
        occasion.person = samplePerson(name);
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        for (int i = 0; i < kRawScoreCount; ++i) {
            occasion.RawScores[i] = occasion.person.ID * 10 + i;
        }
        // The second person has no raw scores and is left out.
        if (occasion.person.ID != 2) {
            ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
        }
    }
    TestOccasion target{};
    std::vector<std::string> names;
    std::vector<std::int32_t> lastRaw;
    ASSERT_EQ(DoSelectExport(target,
                             [&] {
                                 names.emplace_back(target.person.NAMN);
                                 lastRaw.push_back(target.RawScores[kRawScoreCount - 1]);
                                 EXPECT_EQ(target.person.BORNDATE, (DateValue{1950, 5, 31}));
                             }),
              DB_DONE);
    EXPECT_EQ(names, (std::vector<std::string>{"Ett", "Tre"}));
    EXPECT_EQ(lastRaw, (std::vector<std::int32_t>{32, 52}));
}

// The rows are fetched one by one from the open cursor, not from a copy of the whole result: the
// export reads norms, and may write, while the persons' cursor is still open. Every row must still
// come once, in order, and the statements in between must see the database as it is.
TEST_F(ExportStatement, OtherStatementsRunWhileTheRowsAreFetched) {
    TestOccasion occasion{};
    for (int i = 0; i < 50; ++i) {
        occasion.person = samplePerson(("Person " + std::to_string(i)).c_str());
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        occasion.RawScores[0] = i;
        ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
    }
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    const std::int32_t counterBefore = idCounter();
    TestOccasion target{};
    std::vector<std::int32_t> ids;
    std::vector<std::int32_t> firstRaw;
    ASSERT_EQ(DoSelectExport(target,
                             [&] {
                                 ids.push_back(target.person.ID);
                                 firstRaw.push_back(target.RawScores[0]);
                                 PersonRecord other{};
                                 EXPECT_EQ(DoReadPD(1, other), DB_DONE);
                                 EXPECT_STREQ(other.NAMN, "Person 0");
                                 NormRequest request{};
                                 std::strcpy(request.NORMGRUPP, "Standardgrupp");
                                 EXPECT_EQ(DoReadNormerRow(request), DB_NO_ROW);
                                 PersonRecord counted{};
                                 EXPECT_NE(DoReadUpdateNameID(counted), -1); // a write
                             }),
              DB_DONE);
    ASSERT_EQ(ids.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(ids[static_cast<std::size_t>(i)], i + 1);
        EXPECT_EQ(firstRaw[static_cast<std::size_t>(i)], i);
    }
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    EXPECT_EQ(idCounter(), counterBefore + 50);
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
