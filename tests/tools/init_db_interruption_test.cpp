// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "demo_database.h"
#include "demo_norms.h"
#include "message_capture.h"
#include "statement.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace {

std::int64_t countRows(const char* sql) {
    Statement statement;
    std::int32_t count = -1;
    statement.executeDirect(sql);
    statement.bindColumnInt(1, &count);
    statement.fetch();
    statement.commit();
    return count;
}

// Starts `rivo-admin init-db` in dir with the password on standard input; when killAfter is
// given, kills it that long after the start. The exit status as waitpid gives it.
int runInitDb(const std::filesystem::path& dir, std::chrono::microseconds killAfter) {
    int input[2];
    if (pipe(input) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(input[0], STDIN_FILENO);
        close(input[0]);
        close(input[1]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        if (chdir(dir.c_str()) != 0) {
            _exit(127);
        }
        execl(RIVO_ADMIN_PATH, RIVO_ADMIN_PATH, "init-db", "--user", "psykolog", "--password-stdin",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(input[0]);
    if (write(input[1], "demo123\n", 8) != 8) {
        ADD_FAILURE() << "password not written";
    }
    close(input[1]);
    if (killAfter.count() >= 0) {
        std::this_thread::sleep_for(killAfter);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

// A database at path that the program can use: every table filled.
void expectComplete(const std::filesystem::path& path) {
    MessageCapture messages;
    ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM SEC"), 1);
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM NAMEID"), 1);
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM NORMGRUPPER"),
              static_cast<std::int64_t>(demoNormGroups().size()));
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM NORMER"),
              static_cast<std::int64_t>(demoNormRows().size()));
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM INDEX_NORMER"),
              static_cast<std::int64_t>(demoIndexNormRows().size()));
    DoDisconnect();
    EXPECT_TRUE(messages.texts().empty());
}

// init-db killed at many moments of its run: the database file is either absent or complete,
// and the next run always succeeds and clears what the killed one left.
TEST(InitDbInterruption, KilledAtAnyMomentTheNextRunSucceeds) {
    TempDir dir;
    const std::filesystem::path database = dir.file(kDatabaseFileName);
    const std::filesystem::path unfinished = unfinishedDatabasePath(database.string());
    // The moments spread over the length of one whole run on this machine.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(runInitDb(dir.path(), std::chrono::microseconds(-1)), 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::filesystem::remove(database);
    constexpr int kMoments = 30;
    int killedWithFileLeft = 0;
    int killedBeforeTheEnd = 0;
    for (int moment = 0; moment < kMoments; ++moment) {
        const auto delay = whole * moment / (kMoments - 5);
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " us");
        const int killed = runInitDb(dir.path(), delay);
        if (WIFSIGNALED(killed)) {
            ++killedBeforeTheEnd;
            killedWithFileLeft += std::filesystem::exists(unfinished) ? 1 : 0;
        }
        if (std::filesystem::exists(database)) {
            expectComplete(database);
            std::filesystem::remove(database);
        }
        const int next = runInitDb(dir.path(), std::chrono::microseconds(-1));
        ASSERT_TRUE(WIFEXITED(next) && WEXITSTATUS(next) == 0);
        EXPECT_FALSE(std::filesystem::exists(unfinished));
        expectComplete(database);
        std::filesystem::remove(database);
    }
    // The kills did land inside runs, some while the unfinished file was being built.
    EXPECT_GT(killedBeforeTheEnd, 3);
    EXPECT_GT(killedWithFileLeft, 0);
}

} // namespace
