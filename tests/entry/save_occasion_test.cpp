// SPDX-License-Identifier: Apache-2.0
#include "save_occasion.h"

#include "database_fixture.h"
#include "statement.h"
#include "subtest_table.h"

#include <cstring>
#include <string>

namespace {

// A database with the schema and the counter at 0, and one test occasion to save.
class SaveOccasion : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        occasion_ = TestOccasion{};
        occasion_.person = samplePerson("Ny Person");
        occasion_.person.ID = 0;
        occasion_.TD_TESTDATE = DateValue{2010, 6, 1};
        for (int i = 0; i < kRawScoreCount; ++i) {
            occasion_.RawScores[i] = i + 1;
        }
    }

    int count(const char* sql) {
        Statement statement;
        std::int32_t value = -1;
        EXPECT_TRUE(statement.executeDirect(sql)) << sql;
        statement.bindColumnInt(1, &value);
        EXPECT_EQ(statement.fetch(), Statement::Fetch::Row) << sql;
        statement.commit();
        return value;
    }
    int persons() { return count("SELECT COUNT(*) FROM TESTPERSON"); }
    int scoreRows() { return count("SELECT COUNT(*) FROM TESTDATA"); }
    int storedCounter() { return count("SELECT IDNOW FROM NAMEID WHERE RECNO = 1"); }

    TestOccasion occasion_{};
};

TEST_F(SaveOccasion, FailingPersonInsertAfterTheCounterWasWrittenUndoesTheCounter) {
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (1, 'Finns redan')"); // ID 1 is taken
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    ASSERT_EQ(saveTestOccasion(occasion_, 0), 0);
    EXPECT_EQ(storedCounter(), 0);
    EXPECT_EQ(idCounter(), 0);
    EXPECT_EQ(persons(), 1);
    EXPECT_EQ(scoreRows(), 0);
    EXPECT_EQ(messages_.texts().size(), 1u);
}

TEST_F(SaveOccasion, ChangedOccasionRewritesBothRowsAndKeepsIdAndTestDate) {
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    ASSERT_EQ(saveTestOccasion(occasion_, 0), 1);
    std::strcpy(occasion_.person.NAMN, "Nytt Namn");
    occasion_.RawScores[RAW_BLOCKMONSTER] = 50;
    occasion_.TD_TESTDATE = DateValue{2011, 1, 2}; // not written by a change
    ASSERT_EQ(saveTestOccasion(occasion_, 1), 1);
    EXPECT_EQ(persons(), 1);
    EXPECT_EQ(storedCounter(), 1);
    TestOccasion read{};
    ASSERT_EQ(DoReadPD(1, read.person), DB_DONE);
    EXPECT_STREQ(read.person.NAMN, "Nytt Namn");
    ASSERT_EQ(DoReadTD(read), DB_DONE);
    EXPECT_EQ(read.RawScores[RAW_BLOCKMONSTER], 50);
    EXPECT_EQ(read.TD_TESTDATE, (DateValue{2010, 6, 1}));
}

TEST_F(SaveOccasion, ChangesToAPersonNoLongerStoredAreAFailureWithAMessage) {
    occasion_.person.ID = 7;
    ASSERT_EQ(saveTestOccasion(occasion_, 1), 0);
    ASSERT_EQ(messages_.requests().size(), 1u);
    EXPECT_EQ(messages_.requests()[0].text,
              "Testpersonen med ID 7 finns inte längre i databasen (den kan ha tagits bort). "
              "Ändringarna har inte sparats.");
    EXPECT_EQ(messages_.requests()[0].caption, "RIVO-IV");

    // The person is there but its raw scores are not: nothing of the change is kept.
    messages_.clear();
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (7, 'Gammalt Namn')");
    ASSERT_EQ(saveTestOccasion(occasion_, 1), 0);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("Råpoängen för testpersonen med ID 7"), std::string::npos);
    PersonRecord read{};
    ASSERT_EQ(DoReadPD(7, read), DB_DONE);
    EXPECT_STREQ(read.NAMN, "Gammalt Namn");
}

TEST_F(SaveOccasion, FailingScoreUpdateUndoesThePersonUpdate) {
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    ASSERT_EQ(saveTestOccasion(occasion_, 0), 1);
    refuseWrites("refuse_change", "UPDATE", "TESTDATA", "spärrad");
    std::strcpy(occasion_.person.NAMN, "Ändrat");
    ASSERT_EQ(saveTestOccasion(occasion_, 1), 0);
    PersonRecord read{};
    ASSERT_EQ(DoReadPD(1, read), DB_DONE);
    EXPECT_STREQ(read.NAMN, "Ny Person");
    EXPECT_EQ(messages_.texts().size(), 1u);
}

} // namespace
