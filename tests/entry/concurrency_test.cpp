// SPDX-License-Identifier: Apache-2.0
// Four workstations save 100 new occasions each at the same moment, on the register the tests
// run on (one SQLite file, or a PostgreSQL server): 400 distinct consecutive IDs, a person row
// and a raw-score row for each, and no message shown anywhere.

#include "access_log.h"
#include "database_fixture.h"
#include "statement.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kSavers = 4;
constexpr int kSavesEach = 100;

struct Saver {
    pid_t pid = -1;
    int go = -1; // write end of the saver's standard input
};

Saver startSaver(const std::string& source, int tag) {
    int ready[2];
    int go[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(go), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, go[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_addclose(&actions, go[1]);
    const std::string tagText = std::to_string(tag);
    const std::string countText = std::to_string(kSavesEach);
    char* const arguments[] = {
        const_cast<char*>(RIVO_CONCURRENT_SAVER_PATH), const_cast<char*>(source.c_str()),
        const_cast<char*>(tagText.c_str()), const_cast<char*>(countText.c_str()), nullptr};
    Saver saver;
    EXPECT_EQ(
        posix_spawn(&saver.pid, RIVO_CONCURRENT_SAVER_PATH, &actions, nullptr, arguments, environ),
        0);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    close(go[0]);
    saver.go = go[1];
    char signal = 0;
    EXPECT_EQ(read(ready[0], &signal, 1), 1) << "saver " << tag << " did not connect";
    close(ready[0]);
    return saver;
}

using SeveralWorkstations = DatabaseTest;

std::int32_t number(const char* sql) {
    Statement statement;
    std::int32_t value = -1;
    EXPECT_TRUE(statement.executeDirect(sql)) << sql;
    statement.bindColumnInt(1, &value);
    EXPECT_EQ(statement.fetch(), Statement::Fetch::Row) << sql;
    statement.closeCursor();
    statement.commit();
    return value;
}

TEST_F(SeveralWorkstations, FourSavingAtOnceGetDistinctConsecutiveIdsAndLoseNoRow) {
    const std::string source =
        testingOnServer() ? serverTestConnectionString() : dir_.file(kDatabaseFileName).string();
    std::vector<Saver> savers;
    for (int tag = 0; tag < kSavers; ++tag) {
        savers.push_back(startSaver(source, tag));
    }
    for (const Saver& saver : savers) {
        EXPECT_EQ(write(saver.go, "g", 1), 1);
        close(saver.go);
    }
    for (const Saver& saver : savers) {
        int status = -1;
        ASSERT_EQ(waitpid(saver.pid, &status, 0), saver.pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "a saver failed or showed a message (its standard error says what)";
    }
    constexpr int kTotal = kSavers * kSavesEach;
    EXPECT_EQ(number("SELECT COUNT(*) FROM TESTPERSON"), kTotal);
    EXPECT_EQ(number("SELECT COUNT(DISTINCT ID) FROM TESTPERSON"), kTotal);
    EXPECT_EQ(number("SELECT MIN(ID) FROM TESTPERSON"), 1);
    EXPECT_EQ(number("SELECT MAX(ID) FROM TESTPERSON"), kTotal);
    EXPECT_EQ(number("SELECT COUNT(*) FROM TESTDATA"), kTotal);
    EXPECT_EQ(number("SELECT COUNT(*) FROM TESTPERSON, TESTDATA WHERE ID = PERSONALDATA_ID"),
              kTotal);
    EXPECT_EQ(number("SELECT COUNT(DISTINCT NAMN) FROM TESTPERSON"), kTotal);
    EXPECT_EQ(number("SELECT IDNOW FROM NAMEID WHERE RECNO = 1"), kTotal);
    // Every save appended its log row while the others did: one chain, unbroken, a row each.
    AccessLogCheck check;
    ASSERT_EQ(DoVerifyAccessLog(check), DB_DONE);
    EXPECT_TRUE(check.sound) << check.problem;
    EXPECT_EQ(check.soundRows, kTotal);
    EXPECT_EQ(number("SELECT COUNT(DISTINCT PERSON_ID) FROM ATKOMSTLOGG WHERE HANDELSE = "
                     "'occasion-created'"),
              kTotal);
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
