// SPDX-License-Identifier: Apache-2.0
// What the program relies on from the driver options it connects with (kServerDriverOptions):
// bound texts reach the table unchanged although the driver writes them into the statement, a
// failed statement voids its whole transaction and the connection goes on working, and the ID
// counter steps in one statement on a server. The same tests run on SQLite, where they hold by
// the SQLite driver's own means.

#include "database_fixture.h"
#include "message_box.h"
#include "statement.h"
#include "transaction.h"
#include "typical_occasion.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class DriverOptions : public DatabaseTest {
  protected:
    std::int32_t readInt(const char* sql) {
        Statement statement;
        std::int32_t value = -1;
        EXPECT_TRUE(statement.executeDirect(sql)) << sql;
        statement.bindColumnInt(1, &value);
        EXPECT_EQ(statement.fetch(), Statement::Fetch::Row) << sql;
        statement.commit();
        return value;
    }
};

// Texts that a driver writing parameters into the statement must quote: quotes, backslashes,
// parameter markers and statement ends inside the value, non-ASCII letters up to the column's
// size in characters, and nothing at all.
TEST_F(DriverOptions, BoundTextsAreStoredAndReadBackUnchanged) {
    std::string fullColumn;
    for (int i = 0; i < 49; ++i) {
        fullColumn += i % 2 == 0 ? "ä" : "Ö";
    }
    const std::vector<std::string> texts = {
        "O'Brien",
        "''",
        "'); DELETE FROM TESTPERSON; --",
        "C:\\tmp\\ny",
        "\\'",
        "fråga ? och $1 och :namn",
        "100 % ; slut",
        "Åsa Öberg-Ängström",
        fullColumn,
        "",
    };
    for (const std::string& text : texts) {
        PersonRecord person = samplePerson("x");
        std::strcpy(person.NAMN, text.c_str());
        std::strcpy(person.OTHER, text.c_str());
        ASSERT_EQ(DoInsertPD(person), DB_DONE) << text;
        PersonRecord read{};
        ASSERT_EQ(DoReadPD(person.ID, read), DB_DONE) << text;
        EXPECT_EQ(std::string(read.NAMN), text);
        EXPECT_EQ(std::string(read.OTHER), text);
        EXPECT_EQ(read.BORNDATE.year, person.BORNDATE.year) << text;
        EXPECT_EQ(read.BORNDATE.day, person.BORNDATE.day) << text;
    }
    EXPECT_EQ(readInt("SELECT COUNT(*) FROM TESTPERSON"), static_cast<int>(texts.size()));
    EXPECT_TRUE(messages_.texts().empty());
}

// A statement that fails inside a transaction takes the transaction's earlier writes with it,
// and the next transaction on the same connection starts clean and is kept.
TEST_F(DriverOptions, AFailedStatementVoidsItsTransactionAndTheNextOneWorks) {
    refuseWrites("stopp", "INSERT", "TESTDATA", "testdata refuseras");
    {
        Transaction transaction;
        ASSERT_TRUE(transaction.started());
        TestOccasion occasion = typicalOccasion();
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        EXPECT_EQ(DoInsertTD(occasion), DB_FAILED);
        transaction.rollback();
    }
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("testdata refuseras"), std::string::npos)
        << messages_.texts()[0];
    EXPECT_EQ(readInt("SELECT COUNT(*) FROM TESTPERSON"), 0);
    EXPECT_EQ(readInt("SELECT IDNOW FROM NAMEID WHERE RECNO = 1"), 0);

    dropRefusal("stopp", "TESTDATA");
    messages_.clear();
    idCounter() = 0;
    {
        Transaction transaction;
        TestOccasion occasion = typicalOccasion();
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
        ASSERT_TRUE(transaction.commit());
    }
    reconnect();
    EXPECT_EQ(readInt("SELECT COUNT(*) FROM TESTPERSON"), 1);
    EXPECT_EQ(readInt("SELECT COUNT(*) FROM TESTDATA"), 1);
    EXPECT_TRUE(messages_.texts().empty());
}

// The counter as stored, and what a new person gets: the next ID, or at the largest value no ID
// and the counter's own message, with the counter left as it was.
TEST_F(DriverOptions, TheCounterStepsOnceFromWhatIsStored) {
    const struct {
        const char* stored;
        DbResult result;
        std::int32_t id;
        std::int32_t after;
    } cases[] = {
        {"0", DB_DONE, 1, 1},
        {"41", DB_DONE, 42, 42},
        {"2147483646", DB_DONE, 2147483647, 2147483647},
        {"2147483647", DB_FAILED, 0, 2147483647},
    };
    for (const auto& c : cases) {
        exec(std::string("UPDATE NAMEID SET IDNOW = ") + c.stored);
        messages_.clear();
        idCounter() = 7; // stale: the stored counter decides
        PersonRecord person = samplePerson("Räknare");
        person.ID = 0;
        EXPECT_EQ(DoInsertPD(person), c.result) << c.stored;
        EXPECT_EQ(person.ID, c.id) << c.stored;
        EXPECT_EQ(readInt("SELECT IDNOW FROM NAMEID WHERE RECNO = 1"), c.after) << c.stored;
        if (c.result == DB_FAILED) {
            ASSERT_FALSE(messages_.texts().empty()) << c.stored;
            EXPECT_EQ(messages_.texts()[0], kUnreadableCounterMessage) << c.stored;
        } else {
            EXPECT_TRUE(messages_.texts().empty()) << c.stored;
            EXPECT_EQ(idCounter(), c.id) << c.stored;
        }
    }
}

// Saves one after another each get the next ID, and each person's row holds it.
TEST_F(DriverOptions, SavesInARowTakeConsecutiveIds) {
    std::vector<std::int32_t> ids;
    for (int i = 0; i < 5; ++i) {
        Transaction transaction;
        TestOccasion occasion = typicalOccasion();
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
        ASSERT_TRUE(transaction.commit());
        ids.push_back(occasion.person.ID);
    }
    EXPECT_EQ(ids, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(readInt("SELECT MAX(ID) FROM TESTPERSON"), 5);
    EXPECT_EQ(readInt("SELECT IDNOW FROM NAMEID WHERE RECNO = 1"), 5);
}

} // namespace
