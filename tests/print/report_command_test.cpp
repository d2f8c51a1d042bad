// SPDX-License-Identifier: Apache-2.0
// rivo-admin report --pdf as a user runs it: on the demonstration database, without a display.

#include "db.h"
#include "message_capture.h"
#include "pdf_reader.h"
#include "results_opening.h"
#include "subtest_table.h"
#include "temp_dir.h"
#include "test_occasion.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace {

constexpr const char* kIndexNames[] = {"Verbal funktion", "Perceptuell funktion",
                                       "Arbetsminne",     "Snabbhet",
                                       "Hela skalan",     "General Ability"};

class ReportPdfCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(run("printf 'demo123\\n' | " RIVO_ADMIN_PATH
                      " init-db --user psykolog --password-stdin"),
                  0);
        MessageCapture messages;
        const std::string path = dir_.file(kDatabaseFileName).string();
        ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
        ASSERT_EQ(DoReadNameID(), DB_DONE);
        TestOccasion& occasion = testOccasion();
        resetTestOccasion();
        std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
        std::strcpy(occasion.person.NAMN, "Göran Öst");
        occasion.person.SEX = 1;
        occasion.person.BORNDATE = DateValue{1961, 9, 14};
        occasion.person.TESTDATE = DateValue{2011, 2, 1};
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
        for (int raw = 0; raw < kRawScoreCount; ++raw) {
            occasion.RawScores[raw] = kSubtests[raw].formMax * 2 / 3;
        }
        // The total the form stores for the three digit-span parts.
        occasion.RawScores[RAW_SIFFERREPETITION] = occasion.RawScores[RAW_SRFRAM] +
                                                   occasion.RawScores[RAW_SRBAK] +
                                                   occasion.RawScores[RAW_SS];
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
        id_ = occasion.person.ID;
        // The scores the program itself gives this occasion.
        scoreOpenedOccasion(occasion);
        for (int index = 0; index < kIndexCount; ++index) {
            expectedIk_[index] = occasion.indexes[index].IK;
        }
        DoDisconnect();
        EXPECT_TRUE(messages.texts().empty());
    }

    int run(const std::string& command) const {
        // No display: the command must manage on its own.
        const std::string line = "cd '" + dir_.path().string() +
                                 "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                 command + " > out.txt 2> err.txt";
        return std::system(line.c_str());
    }

    TempDir dir_;
    int id_ = 0;
    std::array<int, kIndexCount> expectedIk_{};
};

TEST_F(ReportPdfCommand, WritesTheFiveSheetsWithTheNameAndIndexScores) {
    ASSERT_EQ(run(RIVO_ADMIN_PATH " report --id " + std::to_string(id_) + " --pdf report.pdf"), 0);
    const std::string pdf = dir_.file("report.pdf").string();
    ASSERT_EQ(pdfPageCount(pdf), 5);
    struct stat status {};
    ASSERT_EQ(::stat(pdf.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    const std::string first = pdfPageText(pdf, 1, true);
    EXPECT_NE(first.find("Göran Öst"), std::string::npos);
    EXPECT_NE(pdfPageText(pdf, 3).find("Resultatredovisning för Göran Öst"), std::string::npos);
    // Each index row of the table shows the index score the scoring gives.
    std::istringstream lines(first);
    std::string line;
    std::array<bool, kIndexCount> seen{};
    int rowsChecked = 0;
    while (std::getline(lines, line)) {
        const std::string row = line.substr(std::min(line.size(), line.find_first_not_of(' ')));
        for (int index = 0; index < kIndexCount; ++index) {
            if (!seen[index] && row.starts_with(kIndexNames[index])) {
                seen[index] = true;
                ASSERT_GT(expectedIk_[index], 0) << index;
                EXPECT_NE(row.find(" " + std::to_string(expectedIk_[index]) + " "),
                          std::string::npos)
                    << row;
                ++rowsChecked;
            }
        }
    }
    EXPECT_EQ(rowsChecked, kIndexCount);
    for (int sheet = 1; sheet <= 5; ++sheet) {
        EXPECT_NE(pdfPageText(pdf, sheet).find("Sida " + std::to_string(sheet)), std::string::npos);
    }
}

TEST_F(ReportPdfCommand, ChoicesApplyAndAMissingPersonLeavesNoFile) {
    ASSERT_EQ(
        run(RIVO_ADMIN_PATH " report --id " + std::to_string(id_) + " --ci 90 --pdf ninety.pdf"),
        0);
    EXPECT_NE(pdfPageText(dir_.file("ninety.pdf").string(), 1).find("90% konfidensintervall"),
              std::string::npos);

    EXPECT_NE(run(RIVO_ADMIN_PATH " report --id 999 --pdf missing.pdf"), 0);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("missing.pdf")));
    EXPECT_NE(run(RIVO_ADMIN_PATH " report --id 1 --pdf -"), 0);
    EXPECT_NE(run(RIVO_ADMIN_PATH " report --id 1 --pdf no-such-folder/report.pdf"), 0);
}

} // namespace
