// SPDX-License-Identifier: Apache-2.0
#include "database_fixture.h"
#include "statement.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using PersonStatements = DatabaseTest;

void expectSamePerson(const PersonRecord& a, const PersonRecord& b) {
    EXPECT_EQ(a.ID, b.ID);
    EXPECT_STREQ(a.NAMN, b.NAMN);
    EXPECT_STREQ(a.ADRESS, b.ADRESS);
    EXPECT_STREQ(a.TELEFON, b.TELEFON);
    EXPECT_STREQ(a.NATIONALITET, b.NATIONALITET);
    EXPECT_STREQ(a.HOMELANGUAGE, b.HOMELANGUAGE);
    EXPECT_STREQ(a.UTBILDNING, b.UTBILDNING);
    EXPECT_STREQ(a.TESTAD_VID, b.TESTAD_VID);
    EXPECT_STREQ(a.TESTLEDARE, b.TESTLEDARE);
    EXPECT_EQ(a.SEX, b.SEX);
    EXPECT_EQ(a.AGE, b.AGE);
    EXPECT_EQ(a.TESTDATE, b.TESTDATE);
    EXPECT_EQ(a.BORNDATE, b.BORNDATE);
    EXPECT_EQ(a.HANDEDNESS, b.HANDEDNESS);
    EXPECT_EQ(a.NI_TEST, b.NI_TEST);
    EXPECT_STREQ(a.OTHER, b.OTHER);
}

TEST_F(PersonStatements, IdsAreHandedOutFromTheCounter) {
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    EXPECT_EQ(idCounter(), 0);
    for (int expected = 1; expected <= 3; ++expected) {
        PersonRecord person = samplePerson("Test Person");
        ASSERT_EQ(DoInsertPD(person), DB_DONE);
        EXPECT_EQ(person.ID, expected);
    }
    // The counter is stored, so a fresh read continues from it.
    idCounter() = 0;
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    EXPECT_EQ(idCounter(), 3);
    // Deleting a person does not give its ID back.
    ASSERT_EQ(DoDeletePD(3), DB_DONE);
    PersonRecord next = samplePerson("Nästa");
    ASSERT_EQ(DoInsertPD(next), DB_DONE);
    EXPECT_EQ(next.ID, 4);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(PersonStatements, PersonRoundTripsUnchangedWithSwedishText) {
    // 49 characters, eight of them two-byte letters: 57 bytes.
    const std::string name = "Åsa-Märta Öhrström-Ångqvist af Järnåker-Ödmansson";
    ASSERT_EQ(name.size(), 57u);
    PersonRecord person = samplePerson(name.c_str());
    person.TESTDATE = DateValue{2009, 3, 7};
    person.BORNDATE = DateValue{1904, 2, 29};
    person.AGE = 77;
    person.NI_TEST = 1;
    ASSERT_EQ(DoInsertPD(person), DB_DONE);

    PersonRecord read{};
    ASSERT_EQ(DoReadPD(person.ID, read), DB_DONE);
    expectSamePerson(read, person);
    EXPECT_EQ(std::string(read.NAMN), name);
}

TEST_F(PersonStatements, UpdateRewritesEveryFieldButTheId) {
    PersonRecord person = samplePerson("Före");
    ASSERT_EQ(DoInsertPD(person), DB_DONE);
    PersonRecord changed = samplePerson("Efter Ändring");
    changed.ID = person.ID;
    changed.SEX = 1;
    changed.HANDEDNESS = 3;
    changed.TESTDATE = DateValue{2011, 2, 13};
    std::strcpy(changed.OTHER, "");
    ASSERT_EQ(DoUpdatePD(changed), DB_DONE);
    PersonRecord read{};
    ASSERT_EQ(DoReadPD(person.ID, read), DB_DONE);
    expectSamePerson(read, changed);
}

TEST_F(PersonStatements, ReadingAMissingPersonIsAReportedFailure) {
    PersonRecord read = samplePerson("Orörd");
    EXPECT_EQ(DoReadPD(42, read), DB_FAILED);
    EXPECT_EQ(messages_.texts().size(), 1u);
    EXPECT_STREQ(read.NAMN, "Orörd");
}

TEST_F(PersonStatements, RawScoresRoundTripAndAMissingRowIsNoRow) {
    TestOccasion occasion{};
    occasion.person = samplePerson("Råpoäng");
    ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
    occasion.TD_TESTDATE = DateValue{2010, 6, 2};
    for (int i = 0; i < kRawScoreCount; ++i) {
        occasion.RawScores[i] = i % 3 == 0 ? NOT_ADMINISTERED : i;
    }
    ASSERT_EQ(DoInsertTD(occasion), DB_DONE);

    TestOccasion read{};
    read.person.ID = occasion.person.ID;
    ASSERT_EQ(DoReadTD(read), DB_DONE);
    EXPECT_EQ(read.TD_TESTDATE, occasion.TD_TESTDATE);
    for (int i = 0; i < kRawScoreCount; ++i) {
        EXPECT_EQ(read.RawScores[i], occasion.RawScores[i]) << i;
    }

    // The update writes the raw scores but not the date.
    occasion.RawScores[0] = 0;
    occasion.RawScores[22] = 24;
    occasion.TD_TESTDATE = DateValue{2012, 1, 1};
    ASSERT_EQ(DoUpdateTD(occasion), DB_DONE);
    ASSERT_EQ(DoReadTD(read), DB_DONE);
    EXPECT_EQ(read.RawScores[0], 0);
    EXPECT_EQ(read.RawScores[22], 24);
    EXPECT_EQ(read.TD_TESTDATE, (DateValue{2010, 6, 2}));

    TestOccasion none{};
    none.person.ID = 999;
    none.RawScores[5] = 123;
    EXPECT_EQ(DoReadTD(none), DB_NO_ROW);
    EXPECT_EQ(none.RawScores[5], 123);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(PersonStatements, DeleteRemovesBothRows) {
    TestOccasion occasion{};
    occasion.person = samplePerson("Borttagen");
    ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
    ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
    ASSERT_EQ(DoDeletePD(occasion.person.ID), DB_DONE);
    ASSERT_EQ(DoDeleteTD(occasion.person.ID), DB_DONE);
    EXPECT_EQ(DoReadTD(occasion), DB_NO_ROW);
    PersonRecord read{};
    EXPECT_EQ(DoReadPD(occasion.person.ID, read), DB_FAILED);
}

TEST_F(PersonStatements, AnExecuteErrorIsReportedWithTheDriversMessage) {
    TestOccasion occasion{};
    occasion.person = samplePerson("Dubblett");
    ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
    ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
    // A second raw-score row for the same person breaks the key.
    EXPECT_EQ(DoInsertTD(occasion), DB_FAILED);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(upperCase(messages_.texts()[0]).find("UNIQUE"), std::string::npos)
        << messages_.texts()[0];
}

TEST_F(PersonStatements, FailedCounterUpdateStopsTheInsert) {
    execAsOwner("DROP TABLE NAMEID");
    PersonRecord person = samplePerson("Ingen");
    EXPECT_EQ(DoInsertPD(person), DB_FAILED);
    ASSERT_EQ(messages_.texts().size(), 2u);
    // The server names the table in lower case.
    EXPECT_NE(upperCase(messages_.texts()[0]).find("NAMEID"), std::string::npos)
        << messages_.texts()[0];
    EXPECT_EQ(messages_.texts()[1], "Error in DoInsertPD. DoReadUpdateNameID failed");
    EXPECT_EQ(person.ID, 0);
    EXPECT_EQ(DoReadNameID(), DB_FAILED);
}

TEST_F(PersonStatements, MissingCounterRowIsAReportedFailure) {
    execAsOwner("DELETE FROM NAMEID");
    idCounter() = 17;
    EXPECT_EQ(DoReadNameID(), DB_FAILED);
    EXPECT_EQ(messages_.texts().size(), 1u);
    EXPECT_EQ(idCounter(), 17);
}

TEST_F(PersonStatements, WritesThatTouchNoRowAreDoneWithoutMessage) {
    EXPECT_EQ(DoFixNiTest(), DB_DONE);
    EXPECT_EQ(DoDeletePD(99), DB_DONE);
    EXPECT_EQ(DoDeleteTD(99), DB_DONE);
    TestOccasion occasion{};
    occasion.person.ID = 99;
    EXPECT_EQ(DoUpdateTD(occasion), DB_DONE);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(PersonStatements, FixNiTestSetsMissingFlagsToZero) {
    exec("INSERT INTO TESTPERSON (ID, NAMN, NI_TEST) VALUES (7, 'Gammal', NULL)");
    exec("INSERT INTO TESTPERSON (ID, NAMN, NI_TEST) VALUES (8, 'Ny', 1)");
    ASSERT_EQ(DoFixNiTest(), DB_DONE);
    PersonRecord read{};
    read.NI_TEST = 5;
    ASSERT_EQ(DoReadPD(7, read), DB_DONE);
    EXPECT_EQ(read.NI_TEST, 0);
    ASSERT_EQ(DoReadPD(8, read), DB_DONE);
    EXPECT_EQ(read.NI_TEST, 1);
}

TEST_F(PersonStatements, NullsAreReadThroughTheirIndicators) {
    TestOccasion stored{};
    stored.person = samplePerson("Nulla");
    for (int& raw : stored.RawScores) {
        raw = 7;
    }
    ASSERT_EQ(DoInsertPD(stored.person), DB_DONE);
    ASSERT_EQ(DoInsertTD(stored), DB_DONE);
    exec("UPDATE TESTDATA SET likheter = NULL, bildkomplettering = NULL, TD_TESTDATE = NULL");
    exec("UPDATE TESTPERSON SET ADRESS = NULL, OTHER = NULL, SEX = NULL, BORNDATE = NULL");

    // Buffers full of another person's values: a NULL must not leave them standing.
    TestOccasion read{};
    read.person.ID = stored.person.ID;
    for (int& raw : read.RawScores) {
        raw = 99;
    }
    read.TD_TESTDATE = DateValue{2001, 2, 3};
    ASSERT_EQ(DoReadTD(read), DB_DONE);
    // Columns in RawScores order: blockmonster 0, likheter 2, bildkomplettering 22.
    EXPECT_EQ(read.RawScores[2], NOT_ADMINISTERED);
    EXPECT_EQ(read.RawScores[22], NOT_ADMINISTERED);
    EXPECT_EQ(read.RawScores[0], 7);
    EXPECT_EQ(read.TD_TESTDATE, (DateValue{0, 0, 0}));

    PersonRecord person = samplePerson("Förra personen");
    ASSERT_EQ(DoReadPD(stored.person.ID, person), DB_DONE);
    EXPECT_STREQ(person.NAMN, "Nulla");
    EXPECT_STREQ(person.ADRESS, "");
    EXPECT_STREQ(person.OTHER, "");
    EXPECT_EQ(person.SEX, 0);
    EXPECT_EQ(person.BORNDATE, (DateValue{0, 0, 0}));
    EXPECT_EQ(person.TESTDATE, stored.person.TESTDATE);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(PersonStatements, StoredDatesThatCannotBeReadAreInvalid) {
    SKIP_ON_SERVER("the server's typed columns refuse such values when they are stored");
    const struct {
        const char* stored;
        DateValue read;
    } cases[] = {
        {"'2010-06-01'", {2010, 6, 1}},
        {"'2010-06-01 12:30:00'", {2010, 6, 1}},
        {"'2010-6-1'", {2010, 6, 1}},
        {"''", {0, 0, 0}},
        {"'abc'", {0, 0, 0}},
        {"'0000-00-00'", {0, 0, 0}},
        {"'9999-99-99'", {9999, 99, 99}}, // readable, kept as stored, no calendar date
        {"'40000-01-01'", {0, 0, 0}},     // a year that does not fit is never wrapped
        {"2451545", {0, 0, 0}},
        {"'2010-06-01x'", {0, 0, 0}},
    };
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (1, 'Datum')");
    for (const auto& c : cases) {
        exec(std::string("UPDATE TESTPERSON SET TESTDATE = ") + c.stored);
        PersonRecord person{};
        person.TESTDATE = DateValue{1999, 9, 9};
        ASSERT_EQ(DoReadPD(1, person), DB_DONE) << c.stored;
        EXPECT_EQ(person.TESTDATE, c.read) << c.stored;
    }
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(PersonStatements, NumbersThatDoNotFitAreNamedNotWrapped) {
    SKIP_ON_SERVER("the server's typed columns refuse such values when they are stored");
    exec("INSERT INTO TESTPERSON (ID, NAMN, SEX) VALUES (3, 'Stor', 4294967298)");
    exec("INSERT INTO TESTDATA (PERSONALDATA_ID, blockmonster, likheter) VALUES (3, 5, "
         "9000000000)");
    PersonRecord person{};
    ASSERT_EQ(DoReadPD(3, person), DB_DONE);
    EXPECT_EQ(person.SEX, 0); // not 2, which the wrapped value would give
    TestOccasion occasion{};
    occasion.person.ID = 3;
    ASSERT_EQ(DoReadTD(occasion), DB_DONE);
    EXPECT_EQ(occasion.RawScores[2], NOT_ADMINISTERED); // likheter
    EXPECT_EQ(occasion.RawScores[0], 5);
    const std::vector<std::string> said = messages_.texts();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_NE(said[0].find("ID 3"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find(": SEX."), std::string::npos) << said[0];
    EXPECT_NE(said[1].find(": likheter."), std::string::npos) << said[1];
}

TEST_F(PersonStatements, CounterThatCannotBeReadHandsOutNoId) {
    SKIP_ON_SERVER("the server's typed columns refuse such values when they are stored");
    for (const char* stored : {"9000000000", "'abc'"}) {
        exec(std::string("UPDATE NAMEID SET IDNOW = ") + stored);
        messages_.clear();
        idCounter() = 5;
        EXPECT_EQ(DoReadNameID(), DB_FAILED) << stored;
        EXPECT_EQ(idCounter(), 5);
        EXPECT_EQ(messages_.texts(), std::vector<std::string>{kUnreadableCounterMessage});
    }
}

TEST(StoredValues, IntegersAreReadWholeAndWithinRange) {
    const struct {
        const char* text;
        bool readable;
        std::int32_t value;
    } cases[] = {
        {"0", true, 0},
        {"-9", true, -9},
        {" 42 ", true, 42},
        {"+7", true, 7},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"9000000000", false, 0},
        {"1.0e+30", false, 0},
        {"2.5", false, 0},
        {"12abc", false, 0},
        {"abc", false, 0},
        {"", false, 0},
        {"-", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = 0;
        EXPECT_EQ(readStoredInteger(c.text, value), c.readable) << c.text;
        if (c.readable) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

} // namespace
