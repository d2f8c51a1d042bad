// SPDX-License-Identifier: Apache-2.0
// kill -9 at any moment of a save leaves the database consistent: every occasion whole or
// absent and logged exactly when it is stored, the ID counter never below the highest stored ID,
// the file intact.

#include "database_fixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kKills = 60;

// Reads the file directly with SQLite, independent of the program's own layer.
class DirectReader {
  public:
    explicit DirectReader(const std::string& path) {
        EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    }
    ~DirectReader() { sqlite3_close(db_); }
    std::string text(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        std::string result = "(no row)";
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
            return std::string("(error) ") + sqlite3_errmsg(db_);
        }
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const unsigned char* value = sqlite3_column_text(statement, 0);
            result = value != nullptr ? reinterpret_cast<const char*>(value) : "NULL";
        }
        sqlite3_finalize(statement);
        return result;
    }
    long number(const char* sql) { return std::stol(text(sql)); }

  private:
    sqlite3* db_ = nullptr;
};

// Starts the saving loop and returns once it is connected and about to save.
pid_t startSaving(const std::string& database) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    pid_t pid = -1;
    char* const arguments[] = {const_cast<char*>(RIVO_SAVE_LOOP_PATH),
                               const_cast<char*>(database.c_str()), nullptr};
    EXPECT_EQ(posix_spawn(&pid, RIVO_SAVE_LOOP_PATH, &actions, nullptr, arguments, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    char signal = 0;
    EXPECT_EQ(read(ready[0], &signal, 1), 1);
    close(ready[0]);
    return pid;
}

using CrashDuringSave = DatabaseTest;

TEST_F(CrashDuringSave, KilledAtRandomMomentsTheDatabaseStaysWhole) {
    const std::string database = dir_.file(kDatabaseFileName).string();
    DoDisconnect(); // the child is the only writer
    std::random_device device;
    const unsigned seed = device();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 40000); // microseconds of saving before the kill
    long previousStored = 0;
    int killsWithProgress = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t pid = startSaving(database);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_EQ(::kill(pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "the saving loop ended by itself with " << WEXITSTATUS(status) << ", seed " << seed;

        DirectReader reader(database); // opening rolls back what the killed save left
        SCOPED_TRACE("kill " + std::to_string(kill) + ", seed " + std::to_string(seed));
        ASSERT_EQ(reader.text("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(reader.number("SELECT COUNT(*) FROM TESTPERSON WHERE ID NOT IN "
                                "(SELECT PERSONALDATA_ID FROM TESTDATA)"),
                  0);
        EXPECT_EQ(reader.number("SELECT COUNT(*) FROM TESTDATA WHERE PERSONALDATA_ID NOT IN "
                                "(SELECT ID FROM TESTPERSON)"),
                  0);
        // A change is whole too: the person's mark and its raw score go together.
        EXPECT_EQ(reader.number("SELECT COUNT(*) FROM TESTPERSON, TESTDATA WHERE "
                                "ID = PERSONALDATA_ID AND ((OTHER = 'v1') <> (blockmonster = 1))"),
                  0);
        // An occasion and its log row exist together or not at all, and so do a change and its.
        EXPECT_EQ(reader.number("SELECT COUNT(*) FROM TESTPERSON WHERE ID NOT IN (SELECT "
                                "PERSON_ID FROM ATKOMSTLOGG WHERE HANDELSE = 'occasion-created')"),
                  0);
        EXPECT_EQ(reader.number("SELECT COUNT(*) FROM ATKOMSTLOGG WHERE PERSON_ID NOT IN "
                                "(SELECT ID FROM TESTPERSON)"),
                  0);
        EXPECT_EQ(reader.number("SELECT COUNT(*) FROM TESTPERSON WHERE (OTHER = 'v2') <> (ID IN "
                                "(SELECT PERSON_ID FROM ATKOMSTLOGG WHERE HANDELSE = "
                                "'raw-scores-changed'))"),
                  0);
        EXPECT_EQ(reader.number("SELECT COUNT(*) FROM ATKOMSTLOGG"),
                  reader.number("SELECT SEKVENS FROM ATKOMSTLOGG_HUVUD"));
        EXPECT_GE(reader.number("SELECT IDNOW FROM NAMEID WHERE RECNO = 1"),
                  reader.number("SELECT COALESCE(MAX(ID), 0) FROM TESTPERSON"));
        const long stored = reader.number("SELECT COUNT(*) FROM TESTPERSON");
        if (stored > previousStored) {
            ++killsWithProgress;
        }
        previousStored = stored;
    }
    // The kills fell while saves were going on, not only before the first (on a loaded machine a
    // save takes longer, hence the modest share).
    EXPECT_GE(killsWithProgress, kKills / 4) << "seed " << seed;
    const std::string path = database;
    ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
}

} // namespace
