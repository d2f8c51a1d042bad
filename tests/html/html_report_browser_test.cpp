// SPDX-License-Identifier: Apache-2.0
// rivo-admin report --html for stored occasions, opened in headless Chromium: axe-core finds no
// violation, every index score, percentile, interval and scaled score of report --json stands in
// the HTML's tables under its name, the occasion's messages are shown, and it prints on A4.
#include "access_log.h"
#include "child_run.h"
#include "db.h"
#include "demo_database.h"
#include "message_capture.h"
#include "subtest_table.h"
#include "temp_dir.h"
#include "working_directory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A person tested at the given age with every raw score at about half of its form maximum, but
// for the subtests left out (not administered).
int storePerson(const char* name, int years, const std::vector<int>& leftOut) {
    TestOccasion occasion{};
    std::strcpy(occasion.person.NAMN, name);
    occasion.person.SEX = 2;
    occasion.person.BORNDATE = DateValue{1960, 3, 10};
    occasion.person.TESTDATE = DateValue{static_cast<std::int16_t>(1960 + years), 5, 4};
    occasion.TD_TESTDATE = occasion.person.TESTDATE;
    for (int i = 0; i < kRawScoreCount; ++i) {
        occasion.RawScores[i] = kSubtests[i].formMax / 2;
    }
    occasion.RawScores[RAW_SIFFERREPETITION] =
        occasion.RawScores[RAW_SRFRAM] + occasion.RawScores[RAW_SRBAK] + occasion.RawScores[RAW_SS];
    for (const int raw : leftOut) {
        occasion.RawScores[raw] = NOT_ADMINISTERED;
    }
    if (DoInsertPD(occasion.person) != DB_DONE || DoInsertTD(occasion) != DB_DONE) {
        return -1;
    }
    return occasion.person.ID;
}

TEST(HtmlReportInBrowser, StoredOccasionsHaveNoViolationsAndTheJsonNumbers) {
    const std::string checkDir = RIVO_HTML_CHECK_DIR;
    ASSERT_TRUE(fs::exists(checkDir + "/node_modules/axe-core/axe.min.js"))
        << "axe-core saknas: kör npm ci i " << checkDir << " (scripts/install-deps gör det)";
    ASSERT_TRUE(fs::exists(RIVO_CHROMIUM_PATH)) << "Chromium saknas: " << RIVO_CHROMIUM_PATH;

    TempDir dir;
    MessageCapture messages;
    // The programs started here keep their runtime files and settings in the test's folder.
    fs::create_directory(dir.file("runtime"));
    ::chmod(dir.file("runtime").c_str(), 0700);
    fs::create_directory(dir.file("config"));
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", dir.file("runtime").string());
    ScopedEnvironment config("XDG_CONFIG_HOME", dir.file("config").string());
    ScopedEnvironment home("HOME", dir.path().string());

    const std::string database = dir.file(kDatabaseFileName).string();
    std::string error;
    ASSERT_TRUE(createDemoDatabase(database, "psykolog", "demo123", error)) << error;
    ASSERT_EQ(DoConnect("", "", database.c_str()), 1);
    // The third is 15 at the test, younger than the norms: written with a message (exit 2).
    const std::vector<int> ids = {storePerson("Örjan <Ek> & Söner", 50, {}),
                                  storePerson("Anna \"Lind\"", 25, {RAW_BUT, RAW_KODNING}),
                                  storePerson("Ung", 15, {})};
    const std::vector<int> exitCodes = {0, 0, 2};
    DoDisconnect();

    std::vector<std::string> checkArgs = {checkDir + "/check_report.mjs", RIVO_CHROMIUM_PATH};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const int id = ids[i];
        ASSERT_GT(id, 0);
        const std::string stem = "rapport" + std::to_string(id);
        const int status = runInFolder(RIVO_ADMIN_PATH, dir.path(),
                                       {"report", "--id", std::to_string(id), "--json",
                                        stem + ".json", "--html", stem + ".html"},
                                       {}, dir.file("admin.out"), dir.file("admin.out"));
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), exitCodes[i]) << contents(dir.file("admin.out"));
        struct stat info {};
        ASSERT_EQ(::stat((dir.path() / (stem + ".html")).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777u, 0600u);
        const std::string html = contents(dir.path() / (stem + ".html"));
        EXPECT_EQ(html.find("<Ek>"), std::string::npos);
        checkArgs.push_back((dir.path() / (stem + ".html")).string());
        checkArgs.push_back((dir.path() / (stem + ".json")).string());
    }

    // Each file was logged as html-written for its person before it was written.
    ASSERT_EQ(DoConnect("", "", database.c_str()), 1);
    std::vector<std::pair<int, std::string>> logged;
    DoListAccessLog({}, [&logged](const AccessLogRow& row) {
        if (row.event == "html-written") {
            logged.emplace_back(row.person.value_or(-1), row.detail);
        }
    });
    DoDisconnect();
    std::vector<std::pair<int, std::string>> expected;
    for (const int id : ids) {
        expected.emplace_back(id, "rapport" + std::to_string(id) + ".html");
    }
    EXPECT_EQ(logged, expected);

    const int checked = runInFolder(RIVO_NODE_PATH, dir.path(), checkArgs, {},
                                    dir.file("check.out"), dir.file("check.out"));
    const std::string report = contents(dir.file("check.out"));
    ASSERT_TRUE(WIFEXITED(checked)) << report;
    EXPECT_EQ(WEXITSTATUS(checked), 0) << report;
    std::cout << report;
}

} // namespace
