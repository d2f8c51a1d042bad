// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "message_capture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

TEST(Connection, MissingFileFailsWithTheDriversTextAndCreatesNothing) {
    TempDir dir;
    MessageCapture messages;
    const std::string path = dir.file(kDatabaseFileName).string();
    EXPECT_EQ(DoConnect("user", "password", path.c_str()), 0);
    ASSERT_EQ(messages.requests().size(), 1u);
    EXPECT_FALSE(messages.requests()[0].text.empty());
    EXPECT_EQ(messages.requests()[0].caption, "RIVO-IV");
    EXPECT_EQ(messages.requests()[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(std::filesystem::exists(path));
    DoDisconnect();
    DoDisconnect(); // harmless a second time, and after a failed connection
}

TEST(Connection, CredentialsUnscrambleToPrintableTextOfFixedLength) {
    char user[19];
    char password[13];
    unscrambleDatabaseCredentials(user, password);
    EXPECT_EQ(std::strlen(user), 18u);
    EXPECT_EQ(std::strlen(password), 12u);
    for (const char* text : {static_cast<const char*>(user), static_cast<const char*>(password)}) {
        for (const char* c = text; *c != '\0'; ++c) {
            EXPECT_TRUE(*c > ' ' && *c < 127) << text;
        }
    }
}

TEST(Connection, ErrorReportWithoutDiagnosticShowsEmptyText) {
    MessageCapture messages;
    EXPECT_EQ(DoSQLError(nullptr), 0);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "");
}

} // namespace
