// SPDX-License-Identifier: Apache-2.0
#include "database_fixture.h"
#include "statement.h"

#include <string>

namespace {

// Persons with raw scores, deleted together.
class DeletePerson : public DatabaseTest {
  protected:
    std::int32_t addPerson(const char* name) {
        TestOccasion occasion{};
        occasion.person = samplePerson(name);
        EXPECT_EQ(DoInsertPD(occasion.person), DB_DONE);
        for (int& raw : occasion.RawScores) {
            raw = 7;
        }
        EXPECT_EQ(DoInsertTD(occasion), DB_DONE);
        return occasion.person.ID;
    }
    int count(const char* table) {
        Statement statement;
        std::int32_t rows = -1;
        const std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
        EXPECT_TRUE(statement.executeDirect(sql.c_str()));
        statement.bindColumnInt(1, &rows);
        EXPECT_EQ(statement.fetch(), Statement::Fetch::Row);
        statement.closeCursor();
        statement.commit();
        return rows;
    }
};

TEST_F(DeletePerson, DeletingAPersonRemovesBothRowsAndNoOther) {
    const std::int32_t kept = addPerson("Kvar");
    const std::int32_t gone = addPerson("Borta");
    ASSERT_EQ(DoDeletePerson(gone), DB_DONE);
    EXPECT_EQ(count("TESTPERSON"), 1);
    EXPECT_EQ(count("TESTDATA"), 1);
    PersonRecord read{};
    EXPECT_EQ(DoReadPD(kept, read), DB_DONE);
    EXPECT_TRUE(messages_.texts().empty());
    // Automatic commit is back on: a later write stays without a commit of its own.
    exec("UPDATE TESTPERSON SET NAMN = 'Ändrad'");
    reconnect();
    ASSERT_EQ(DoReadPD(kept, read), DB_DONE);
    EXPECT_STREQ(read.NAMN, "Ändrad");
}

TEST_F(DeletePerson, AFailingRawScoreDeleteKeepsThePersonToo) {
    const std::int32_t id = addPerson("Skyddad");
    refuseWrites("keep_scores", "DELETE", "TESTDATA", "raw scores are locked");
    EXPECT_EQ(DoDeletePerson(id), DB_FAILED);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("raw scores are locked"), std::string::npos);
    EXPECT_EQ(count("TESTPERSON"), 1);
    EXPECT_EQ(count("TESTDATA"), 1);
    // The rollback ended the transaction: the connection writes and commits as before.
    dropRefusal("keep_scores", "TESTDATA");
    messages_.clear();
    EXPECT_EQ(DoDeletePerson(id), DB_DONE);
    EXPECT_EQ(count("TESTPERSON"), 0);
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
