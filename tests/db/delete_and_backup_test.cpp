#include "database_fixture.h"
#include "statement.h"

#include <sqlite3.h>

#include <string>

namespace {

// Persons with raw scores, deleted together and copied with VACUUM INTO.
class DeleteAndBackup : public DatabaseTest {
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

TEST_F(DeleteAndBackup, DeletingAPersonRemovesBothRowsAndNoOther) {
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
    DoDisconnect();
    ASSERT_EQ(DoConnect("", "", dir_.file(kDatabaseFileName).c_str()), 1);
    ASSERT_EQ(DoReadPD(kept, read), DB_DONE);
    EXPECT_STREQ(read.NAMN, "Ändrad");
}

TEST_F(DeleteAndBackup, AFailingRawScoreDeleteKeepsThePersonToo) {
    const std::int32_t id = addPerson("Skyddad");
    exec("CREATE TRIGGER keep_scores BEFORE DELETE ON TESTDATA "
         "BEGIN SELECT RAISE(ABORT, 'raw scores are locked'); END");
    EXPECT_EQ(DoDeletePerson(id), DB_FAILED);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("raw scores are locked"), std::string::npos);
    EXPECT_EQ(count("TESTPERSON"), 1);
    EXPECT_EQ(count("TESTDATA"), 1);
    // The rollback ended the transaction: the connection writes and commits as before.
    exec("DROP TRIGGER keep_scores");
    messages_.clear();
    EXPECT_EQ(DoDeletePerson(id), DB_DONE);
    EXPECT_EQ(count("TESTPERSON"), 0);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(DeleteAndBackup, VacuumIntoWritesACopyThatHoldsTheSameRows) {
    addPerson("Kopierad");
    const std::string copy = dir_.file("kopia.db").string();
    char message[256] = "unchanged";
    ASSERT_EQ(DoVacuumInto(copy.c_str(), message, sizeof message), DB_DONE) << message;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* query = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT NAMN FROM TESTPERSON", -1, &query, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(query), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)), "Kopierad");
    sqlite3_finalize(query);
    sqlite3_close(db);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(DeleteAndBackup, VacuumIntoAFileInUseFailsWithTheDriversMessageAndShowsNothing) {
    addPerson("Kopierad");
    const std::string copy = dir_.file("finns.db").string();
    char message[256] = {};
    ASSERT_EQ(DoVacuumInto(copy.c_str(), message, sizeof message), DB_DONE);
    // A database file that holds data is never written over.
    EXPECT_EQ(DoVacuumInto(copy.c_str(), message, sizeof message), DB_FAILED);
    EXPECT_STRNE(message, "");
    const std::string missingFolder = dir_.file("saknas/kopia.db").string();
    message[0] = '\0';
    EXPECT_EQ(DoVacuumInto(missingFolder.c_str(), message, sizeof message), DB_FAILED);
    EXPECT_STRNE(message, "");
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
