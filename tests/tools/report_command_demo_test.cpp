// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "demo_database.h"
#include "message_capture.h"
#include "subtest_table.h"
#include "temp_dir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

namespace {

// Stores a person with every raw score at half of its form maximum, or without raw scores.
int storePerson(const char* name, int bornYear, bool withScores) {
    TestOccasion occasion{};
    std::strcpy(occasion.person.NAMN, name);
    occasion.person.SEX = 2;
    occasion.person.BORNDATE = DateValue{static_cast<std::int16_t>(bornYear), 7, 1};
    occasion.person.TESTDATE = DateValue{2011, 2, 13};
    occasion.TD_TESTDATE = occasion.person.TESTDATE;
    for (int i = 0; i < kRawScoreCount; ++i) {
        occasion.RawScores[i] = kSubtests[i].formMax / 2;
    }
    // The total the form stores for the three digit-span parts.
    occasion.RawScores[RAW_SIFFERREPETITION] =
        occasion.RawScores[RAW_SRFRAM] + occasion.RawScores[RAW_SRBAK] + occasion.RawScores[RAW_SS];
    EXPECT_EQ(DoInsertPD(occasion.person), DB_DONE);
    if (withScores) {
        EXPECT_EQ(DoInsertTD(occasion), DB_DONE);
    }
    return occasion.person.ID;
}

std::string run(const std::string& command, int& exitCode) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    exitCode = pclose(pipe);
    return output;
}

// The demonstration database with persons of every age, one without raw scores: every line of
// "report --all" on standard output is a JSON object, in ID order.
TEST(ReportCommandOnDemoDatabase, AllIsValidJsonLines) {
    TempDir dir;
    MessageCapture messages;
    const std::string path = dir.file(kDatabaseFileName).string();
    std::string error;
    ASSERT_TRUE(createDemoDatabase(path, "psykolog", "demo123", error)) << error;
    ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
    int stored = 0;
    for (int born = 1920; born <= 1995; born += 5) {
        storePerson("Demo", born, born != 1950);
        ++stored;
    }
    DoDisconnect();

    int exitCode = -1;
    const std::string output =
        run("cd '" + dir.path().string() + "' && '" RIVO_ADMIN_PATH "' report --all --json -",
            exitCode);
    // The one born in 1995 is 15 at the test, younger than the forms allow: written, with a
    // message, and the command says so.
    EXPECT_EQ(WEXITSTATUS(exitCode), 2);
    std::istringstream lines(output);
    std::string line;
    int count = 0;
    int lastId = 0;
    while (std::getline(lines, line)) {
        QJsonParseError parsed{};
        const QJsonObject json =
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &parsed).object();
        ASSERT_EQ(parsed.error, QJsonParseError::NoError) << line;
        EXPECT_GT(json["ID"].toInt(), lastId);
        lastId = json["ID"].toInt();
        EXPECT_FALSE(json["ageBand"].toString().isEmpty());
        const bool young = json["BORNDATE"].toString().startsWith("1995");
        EXPECT_EQ(json["messages"].toArray().isEmpty(), !young) << line;
        ++count;
    }
    EXPECT_EQ(count, stored);
}

} // namespace
