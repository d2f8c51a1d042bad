// SPDX-License-Identifier: Apache-2.0
// User names compared without case and surrounding spaces: the failed logins kept per name in the
// register, and new users whose name only looks different refused.

#include "database_fixture.h"
#include "login_failures.h"
#include "user_name_key.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UserNameKey, IgnoresCaseAndSurroundingSpacesSwedishLettersToo) {
    const struct {
        const char* name;
        const char* key;
    } cases[] = {
        {"psykolog", "psykolog"},
        {"PSYKOLOG", "psykolog"},
        {" psykolog ", "psykolog"},
        {"\tPsykolog  ", "psykolog"},
        {"ÅSA ÖRN", "åsa örn"}, // inner space kept
        {"ÄNGLÄDÉ", "änglädé"}, // Ä and É
        {"ØRSTED ÆBLE", "ørsted æble"},
        {"Åsa×2", "åsa×2"}, // the multiplication sign has no case
        {"åsa", "åsa"},
        {"asa", "asa"}, // å is not a
        {"ß", "ß"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(userNameKey(c.name), c.key) << c.name;
    }
}

class LoginFailureStore : public DatabaseTest {};

TEST_F(LoginFailureStore, ANewUserLikeAnExistingOneIsRefused) {
    exec("DELETE FROM SEC");
    ASSERT_EQ(DoInsertUser("psykolog", "hemligt"), DB_DONE);
    ASSERT_EQ(DoInsertUser("Åsa", "hemligt"), DB_DONE);
    const struct {
        const char* name;
        DbResult result;
        const char* takenBy;
    } cases[] = {
        {"PSYKOLOG", DB_NAME_TAKEN, "psykolog"},
        {"psykolog ", DB_NAME_TAKEN, "psykolog"},
        {" Psykolog\t", DB_NAME_TAKEN, "psykolog"},
        {"ÅSA", DB_NAME_TAKEN, "Åsa"},
        {"åsa", DB_NAME_TAKEN, "Åsa"},
        {"asa", DB_DONE, ""},
        {"psykolog2", DB_DONE, ""},
    };
    for (const auto& c : cases) {
        std::string takenBy;
        EXPECT_EQ(DoInsertUser(c.name, "hemligt", &takenBy), c.result) << c.name;
        EXPECT_EQ(takenBy, c.takenBy) << c.name;
    }
    int users = 0;
    DoListUsers([&](const char*, bool) { ++users; });
    EXPECT_EQ(users, 4);
}

TEST_F(LoginFailureStore, FailuresAreCountedPerNameAsComparedAndForgottenOnSuccess) {
    LoginFailures failures;
    ASSERT_EQ(DoReadLoginFailures("psykolog", failures), DB_DONE);
    EXPECT_EQ(failures.count, 0);
    ASSERT_EQ(DoRecordLoginFailure("PSYKOLOG", 1'796'000'000'000, failures), DB_DONE);
    ASSERT_EQ(DoRecordLoginFailure("psykolog ", 1'796'000'000'250, failures), DB_DONE);
    EXPECT_EQ(failures.count, 2);
    ASSERT_EQ(DoRecordLoginFailure("annan", 1'796'000'000'300, failures), DB_DONE);

    reconnect(); // what another run of the program reads
    ASSERT_EQ(DoReadLoginFailures(" Psykolog", failures), DB_DONE);
    EXPECT_EQ(failures.count, 2);
    EXPECT_EQ(failures.lastAtMs, 1'796'000'000'250);

    ASSERT_EQ(DoClearLoginFailures("PSYKOLOG"), DB_DONE);
    ASSERT_EQ(DoReadLoginFailures("psykolog", failures), DB_DONE);
    EXPECT_EQ(failures.count, 0);
    ASSERT_EQ(DoReadLoginFailures("annan", failures), DB_DONE);
    EXPECT_EQ(failures.count, 1);
}

TEST_F(LoginFailureStore, ARefusedWriteKeepsTheCountAsItWas) {
    LoginFailures failures;
    ASSERT_EQ(DoRecordLoginFailure("psykolog", 1000, failures), DB_DONE);
    refuseWrites("vagra_forsok", "UPDATE", "INLOGGNINGSFORSOK", "Inga fler försök.");
    EXPECT_EQ(DoRecordLoginFailure("psykolog", 2000, failures), DB_FAILED);
    dropRefusal("vagra_forsok", "INLOGGNINGSFORSOK");
    ASSERT_EQ(DoReadLoginFailures("psykolog", failures), DB_DONE);
    EXPECT_EQ(failures.count, 1);
    EXPECT_EQ(failures.lastAtMs, 1000);
}

} // namespace
