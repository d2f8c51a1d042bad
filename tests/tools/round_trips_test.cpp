// SPDX-License-Identifier: Apache-2.0
// The round trips of a login and of `rivo-admin report --id N --json` against a PostgreSQL
// server, counted by the benches' proxy: a change that adds one fails here. Runs where
// RIVO_TEST_ODBC_OWNER names a server (scripts/test-on-postgresql); skipped otherwise.

#include "access_log.h"
#include "bench_database.h"
#include "child_run.h"
#include "data_source.h"
#include "db.h"
#include "delaying_proxy.h"
#include "login_backoff.h"
#include "login_failures.h"
#include "memory_norm_source.h"
#include "message_capture.h"
#include "schema.h"
#include "statement.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

const char* ownerConnection() {
    const char* owner = std::getenv("RIVO_TEST_ODBC_OWNER");
    return owner != nullptr && owner[0] != '\0' ? owner : nullptr;
}

// The folder of the server's Unix socket: the Servername of the connection string.
std::string socketFolder(const std::string& connection) {
    const std::size_t start = connection.find("Servername=") + 11;
    return connection.substr(start, connection.find(';', start) - start);
}

bool run(const char* sql) {
    Statement statement;
    return statement.executeDirect(sql) && statement.commit();
}

std::int32_t personsWithoutNiTest() {
    Statement statement;
    std::int32_t count = -1;
    statement.executeDirect("SELECT COUNT(*) FROM TESTPERSON WHERE NI_TEST IS NULL");
    statement.bindColumnInt(1, &count);
    statement.fetch();
    statement.closeCursor();
    statement.commit();
    return count;
}

class RoundTripsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (ownerConnection() == nullptr) {
            GTEST_SKIP() << "RIVO_TEST_ODBC_OWNER names no server";
        }
        ::setenv("RIVO_BENCH_ODBC", ownerConnection(), 1);
        database_ = std::make_unique<BenchDatabase>(20);
        // An occasion of an older register: the fix after login must reach it.
        ASSERT_TRUE(run("UPDATE TESTPERSON SET NI_TEST = NULL WHERE ID = 2"));
        DoDisconnect();
        proxy_ =
            std::make_unique<DelayingProxy>(socketFolder(ownerConnection()) + "/.s.PGSQL.5432", 0);
        const std::string owner = ownerConnection();
        const std::size_t user = owner.find("Username=");
        via_ =
            "DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" + std::to_string(proxy_->port()) +
            ";Database=rivo;" + owner.substr(user, owner.find(';', user) - user) +
            ";pqopt={options=-csearch_path=rivo_bench};";
    }
    void TearDown() override { DoDisconnect(); }

    long roundTripsOf(const std::function<void()>& work) {
        const long before = proxy_->roundTrips();
        work();
        return proxy_->roundTrips() - before;
    }

    std::unique_ptr<BenchDatabase> database_;
    std::unique_ptr<DelayingProxy> proxy_;
    std::string via_;
};

TEST_F(RoundTripsTest, LoginTakesFiveRoundTripsAndTheNormTablesOne) {
    const int failures = reportedDatabaseFailures();
    // Connect (3: start-up, the driver's settings, its type lookup), the password with the
    // session setting (1), the log row (1); the fix of old rows goes with the norm tables (1).
    const long login = roundTripsOf([&] {
        ASSERT_EQ(DoConnectString(serverConnectionString(via_).c_str()), 1);
        ASSERT_EQ(DoReadPassword("bench", "bench123"), DB_DONE);
        ASSERT_TRUE(DoLogLoginAttempt("bench", DB_DONE, true));
        ASSERT_EQ(DoFixNiTest(), DB_DONE);
    });
    const long norms = roundTripsOf([] { currentNorms(); });
    EXPECT_EQ(login, 5);
    EXPECT_EQ(norms, 1);
    EXPECT_TRUE(normsReloaded());
    EXPECT_EQ(reportedDatabaseFailures(), failures);
    EXPECT_EQ(personsWithoutNiTest(), 0);
    // Held in memory: the next use reads the state alone.
    EXPECT_EQ(roundTripsOf([] { currentNorms(); }), 1);
    EXPECT_FALSE(normsReloaded());
}

// As the program starts: the register's checks with the norm tables before the login dialog, the
// back-off's count with the stored password, the log row; a name without failed logins has no
// count to clear, and the fix of old rows goes with the next statement.
TEST_F(RoundTripsTest, TheProgramsWholeStartIsSixRoundTrips) {
    const int failures = reportedDatabaseFailures();
    LoginBackoff backoff;
    const long start = roundTripsOf([&] {
        ASSERT_EQ(DoConnectString(serverConnectionString(via_).c_str()), 1);
        ASSERT_TRUE(readNormsAfterCheck(kAccessLogAndLoginFailuresPresentSql));
        ASSERT_EQ(backoff.remainingWait("bench"), 0);
        ASSERT_EQ(DoReadPassword("bench", "bench123"), DB_DONE);
        ASSERT_TRUE(DoLogLoginAttempt("bench", DB_DONE, true));
        backoff.recordSuccess("bench");
        ASSERT_EQ(DoFixNiTest(), DB_DONE);
    });
    EXPECT_EQ(start, 6);
    EXPECT_EQ(reportedDatabaseFailures(), failures);
    EXPECT_EQ(personsWithoutNiTest(), 0);
    // The norms are held: opening results reads only their state.
    EXPECT_EQ(roundTripsOf([] { currentNorms(); }), 1);
    EXPECT_FALSE(normsReloaded());
}

TEST_F(RoundTripsTest, ThePasswordReadWithTheCountAnswersOnlyThatNamesCheck) {
    ASSERT_EQ(DoConnectString(serverConnectionString(via_).c_str()), 1);
    struct Case {
        const char* countedFor;
        const char* checkedFor;
        const char* password;
        DbResult expected;
        long roundTrips; // of the count and the check together
    };
    const Case cases[] = {
        {"bench", "bench", "bench123", DB_DONE, 1},
        {"bench", "bench", "fel-lösen", DB_WRONG_PASSWORD, 1},
        {"okänd", "okänd", "bench123", DB_NO_ROW, 1},
        {"okänd", "bench", "bench123", DB_DONE, 2},
        {"bench", "okänd", "bench123", DB_NO_ROW, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.countedFor) + " / " + c.checkedFor + " / " + c.password);
        DbResult checked = DB_FAILED;
        const long trips = roundTripsOf([&] {
            LoginFailures kept;
            ASSERT_EQ(DoReadLoginFailures(c.countedFor, kept), DB_DONE);
            checked = DoReadPassword(c.checkedFor, c.password);
        });
        EXPECT_EQ(checked, c.expected);
        EXPECT_EQ(trips, c.roundTrips);
    }
    // Taken once: a second check reads again.
    LoginFailures kept;
    ASSERT_EQ(DoReadLoginFailures("bench", kept), DB_DONE);
    EXPECT_EQ(DoReadPassword("bench", "bench123"), DB_DONE);
    EXPECT_EQ(roundTripsOf([] { EXPECT_EQ(DoReadPassword("bench", "bench123"), DB_DONE); }), 1);
}

// A deferred statement whose string fails is sent alone and the failing statement again, so
// that the fix is done and only the real failure is reported, once.
TEST_F(RoundTripsTest, AFailedStringStillRunsTheDeferredFixAndReportsItsOwnFailureOnce) {
    ASSERT_EQ(DoConnectString(serverConnectionString(via_).c_str()), 1);
    ASSERT_EQ(DoFixNiTest(), DB_DONE);
    MessageCapture messages;
    const int failures = reportedDatabaseFailures();
    EXPECT_FALSE(run("SELECT NO_SUCH_COLUMN FROM TESTPERSON"));
    EXPECT_EQ(reportedDatabaseFailures(), failures + 1);
    EXPECT_EQ(personsWithoutNiTest(), 0);
}

TEST_F(RoundTripsTest, ReportOfOnePersonIsEightRoundTripsAsAWholeCommand) {
    TempDir home;
    std::filesystem::create_directories(home.path() / "config" / "RIVO-IV");
    std::filesystem::create_directories(home.path() / "run");
    std::filesystem::permissions(home.path() / "run", std::filesystem::perms::owner_all);
    std::ofstream(home.path() / "config" / "RIVO-IV" / "datakalla.ini") << "ODBC=" << via_ << "\n";
    ::setenv("XDG_CONFIG_HOME", (home.path() / "config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home.path() / "run").c_str(), 1);
    int status = -1;
    // Connect (3), the session setting with the access log's check (1), the norm tables (1), the
    // person (1), the log row (1), the farewell (1).
    const long trips = roundTripsOf([&] {
        status =
            runInFolder(RIVO_ADMIN_PATH, home.path(), {"report", "--id", "3", "--json", "r.json"},
                        "", home.path() / "out", home.path() / "out");
    });
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 1);
    EXPECT_TRUE(std::filesystem::exists(home.path() / "r.json"));
    EXPECT_EQ(trips, 8);
}

} // namespace
