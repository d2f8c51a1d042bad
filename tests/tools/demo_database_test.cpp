// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "demo_database.h"
#include "message_capture.h"
#include "norm_checks.h"
#include "statement.h"
#include "subtest_table.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::int32_t countRows(const char* sql) {
    Statement statement;
    std::int32_t count = -1;
    statement.executeDirect(sql);
    statement.bindColumnInt(1, &count);
    statement.fetch();
    statement.commit();
    return count;
}

std::string storedPassword() {
    Statement statement;
    char text[256] = {};
    statement.executeDirect("SELECT PASSWORD FROM SEC");
    statement.bindColumnText(1, text, sizeof text);
    statement.fetch();
    statement.commit();
    return text;
}

const char* const kBandsWithoutSomeNorms[] = {"70-74 år", "75-79 år", "80-84 år", "85-90 år"};

class DemoDatabase : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = dir_.file(kDatabaseFileName).string();
        std::string error;
        ASSERT_TRUE(createDemoDatabase(path_, "psykolog", "demo123", error)) << error;
        ASSERT_EQ(DoConnect("", "", path_.c_str()), 1);
    }
    void TearDown() override { DoDisconnect(); }

    TempDir dir_;
    std::string path_;
    MessageCapture messages_;
};

TEST_F(DemoDatabase, FileIsPrivateAndIsNeverOverwritten) {
    struct stat info {};
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const auto size = std::filesystem::file_size(path_);
    std::string error;
    EXPECT_FALSE(createDemoDatabase(path_, "annan", "annan123", error));
    EXPECT_NE(error.find("kan inte skapas"), std::string::npos) << error;
    EXPECT_EQ(std::filesystem::file_size(path_), size);
    EXPECT_EQ(DoReadPassword("psykolog", "demo123"), DB_DONE);
}

TEST_F(DemoDatabase, CounterStartsAtZeroAndTheUserCanLogIn) {
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    EXPECT_EQ(idCounter(), 0);
    EXPECT_EQ(DoReadPassword("psykolog", "demo123"), DB_DONE);
    EXPECT_EQ(DoReadPassword("psykolog", "fel"), DB_WRONG_PASSWORD);
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM SEC"), 1);
    // The password is stored as a salted hash, never as typed.
    const std::string stored = storedPassword();
    EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u) << stored;
    EXPECT_EQ(stored.find("demo123"), std::string::npos);
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM TESTPERSON"), 0);
}

// init-db marks its norms as the demonstration norms, and they keep the rules of an import.
TEST_F(DemoDatabase, NormsAreMarkedSyntheticAndPassTheChecks) {
    EXPECT_EQ(countRows("SELECT SYNTETISKA FROM NORMKALLA WHERE RECNO = 1"), 1);
    EXPECT_TRUE(DoReadNormsSynthetic());
    NormTables tables;
    ASSERT_EQ(DoReadNormTables(tables), DB_DONE);
    EXPECT_EQ(checkNormTables(tables, false), std::vector<std::string>{});
}

TEST_F(DemoDatabase, SubgroupsAreListedInAgeOrderWithTheirDescriptions) {
    std::vector<std::string> names;
    DoListDelgrupp("Standardgrupp", [&](const char* name) { names.emplace_back(name); });
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(names.front(), "16-17 år");
    EXPECT_EQ(names[12], "85-90 år");
    EXPECT_EQ(names.back(), "Referensgrupp");

    TestOccasion occasion{};
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    for (const std::string& name : names) {
        std::strcpy(occasion.ageBand, name.c_str());
        ASSERT_EQ(DoReadNormDescription(occasion), DB_DONE);
        EXPECT_EQ(occasion.normDescription,
                  name == "Referensgrupp" ? std::string("Referensgrupp (20-34 år)") : name);
    }
}

TEST_F(DemoDatabase, EveryNormRowIsThereAndNoNormsOnlyWhereIntended) {
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM NORMER"), 266);
    std::vector<std::string> groups;
    DoListDelgrupp("Standardgrupp", [&](const char* name) { groups.emplace_back(name); });
    for (const std::string& group : groups) {
        for (int subscale = 0; subscale < kSubscaleCount; ++subscale) {
            NormRequest request{};
            std::strcpy(request.NORMGRUPP, "Standardgrupp");
            std::strcpy(request.DELSKALA, kDelskala[subscale]);
            std::strcpy(request.DELGRUPP, group.c_str());
            ASSERT_EQ(DoReadNormer(request), DB_DONE) << kDelskala[subscale] << " " << group;

            bool lateBand = false;
            for (const char* band : kBandsWithoutSomeNorms) {
                lateBand = lateBand || group == band;
            }
            const bool noNorms = lateBand && (subscale == SUB_FIGURVIKTER || subscale == SUB_BSS ||
                                              subscale == SUB_OVERSTRYKNING);
            if (noNorms) {
                for (int k = 0; k < kSubscaleCount; ++k) {
                    EXPECT_EQ(request.S[k], -9) << kDelskala[subscale] << " " << group;
                }
                continue;
            }
            const int rawIndex = kSubscaleRawScore[subscale];
            const int maximum = subscale == SUB_SIFFERREPETITION ? kSifferrepetitionMax
                                                                 : kSubtests[rawIndex].formMax;
            EXPECT_GE(request.S[0], 0) << kDelskala[subscale] << " " << group;
            EXPECT_LE(request.S[18], maximum) << kDelskala[subscale] << " " << group;
            for (int k = 1; k < kSubscaleCount; ++k) {
                EXPECT_LE(request.S[k - 1], request.S[k]) << kDelskala[subscale] << " " << group;
            }
        }
    }
}

TEST_F(DemoDatabase, EverySumOfEveryIndexHasItsRow) {
    struct Range {
        const char* key;
        int low;
        int high;
    };
    const Range ranges[] = {{"VFI", 3, 57}, {"PFI", 3, 57},   {"AI", 2, 38},
                            {"SI", 2, 38},  {"HIK", 10, 190}, {"GAI", 6, 114}};
    for (const Range& range : ranges) {
        std::int32_t maximum = 0;
        std::int32_t minimum = 0;
        ASSERT_EQ(DoReadIndexRange("Standardgrupp", range.key, maximum, minimum), DB_DONE);
        EXPECT_EQ(minimum, range.low);
        EXPECT_EQ(maximum, range.high);
        int previousScore = 0;
        for (int sum = range.low; sum <= range.high; ++sum) {
            IndexResult result{};
            ASSERT_EQ(DoReadIndexNormer("Standardgrupp", range.key, sum, result), DB_DONE)
                << range.key << " " << sum;
            EXPECT_GE(result.IK, previousScore);
            EXPECT_GE(result.IK, 40);
            EXPECT_LE(result.IK, 160);
            EXPECT_LE(result.KONF_LOW95, result.KONF_LOW90);
            EXPECT_LE(result.KONF_HIGH90, result.KONF_HIGH95);
            previousScore = result.IK;
        }
    }
    EXPECT_EQ(countRows("SELECT COUNT(*) FROM INDEX_NORMER"), 55 * 2 + 37 * 2 + 181 + 109);
    EXPECT_TRUE(messages_.texts().empty());
}

// The command itself, as a user runs it: in the working directory, password on standard input.
TEST(RivoAdmin, InitDbCreatesTheDatabaseInTheWorkingDirectory) {
    TempDir dir;
    const std::string command = "cd '" + dir.path().string() + "' && printf 'demo123\\n' | " +
                                RIVO_ADMIN_PATH + " init-db --user psykolog --password-stdin";
    ASSERT_EQ(std::system((command + " > out.txt 2>&1").c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file(kDatabaseFileName)));
    // A second run refuses and leaves the file.
    EXPECT_NE(std::system((command + " > /dev/null 2>&1").c_str()), 0);

    TempDir other;
    const std::string tooShort = "cd '" + other.path().string() + "' && printf 'ab\\n' | " +
                                 RIVO_ADMIN_PATH +
                                 " init-db --user psykolog --password-stdin > /dev/null 2>&1";
    EXPECT_NE(std::system(tooShort.c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(other.file(kDatabaseFileName)));
}

TEST(RivoAdmin, ExportOfTheDemoDatabaseIsARegularTable) {
    TempDir dir;
    const std::string cd = "cd '" + dir.path().string() + "' && ";
    ASSERT_EQ(std::system((cd + "printf 'demo123\\n' | " + RIVO_ADMIN_PATH +
                           " init-db --user psykolog --password-stdin > /dev/null 2>&1")
                              .c_str()),
              0);
    {
        MessageCapture messages;
        const std::string path = dir.file(kDatabaseFileName).string();
        ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
        ASSERT_EQ(DoReadNameID(), DB_DONE);
        for (int person = 0; person < 3; ++person) {
            TestOccasion occasion{};
            std::strcpy(occasion.person.NAMN, person == 1 ? "Åke Ärlig" : "Test");
            occasion.person.SEX = 2;
            occasion.person.BORNDATE =
                DateValue{static_cast<std::int16_t>(1940 + 20 * person), 2, 3};
            occasion.person.TESTDATE = DateValue{2010, 6, 1};
            for (int raw = 0; raw < kRawScoreCount; ++raw) {
                occasion.RawScores[raw] = kSubtests[raw].formMax / (2 + person);
            }
            // The total the form stores for the three digit-span parts.
            occasion.RawScores[RAW_SIFFERREPETITION] = occasion.RawScores[RAW_SRFRAM] +
                                                       occasion.RawScores[RAW_SRBAK] +
                                                       occasion.RawScores[RAW_SS];
            ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
            ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
        }
        DoDisconnect();
        EXPECT_TRUE(messages.texts().empty());
    }
    ASSERT_EQ(
        std::system((cd + RIVO_ADMIN_PATH + " export --groups 0,1,2,3 export.txt > /dev/null 2>&1")
                        .c_str()),
        0);
    std::ifstream in(dir.file("export.txt"), std::ios::binary);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u);
    const auto tabs = [](const std::string& text) {
        return std::count(text.begin(), text.end(), '\t');
    };
    for (const std::string& text : lines) {
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\r');
        EXPECT_EQ(tabs(text), tabs(lines[0]));
    }
    EXPECT_EQ(tabs(lines[0]), 1 + 14 + 22 + 1 + 19 + 12);
    EXPECT_NE(lines[2].find("\xC5ke \xC4rlig"), std::string::npos);
    // The first person is 70 at testing and is scored in that band.
    EXPECT_NE(lines[1].find("\t70-74 \xE5r\t"), std::string::npos);
}

TEST(RivoAdmin, ExportAfterADatabaseErrorFailsAndSaysWhat) {
    TempDir dir;
    const std::string cd = "cd '" + dir.path().string() + "' && ";
    ASSERT_EQ(std::system((cd + "printf 'demo123\\n' | " + RIVO_ADMIN_PATH +
                           " init-db --user psykolog --password-stdin > /dev/null 2>&1")
                              .c_str()),
              0);
    {
        MessageCapture messages;
        const std::string path = dir.file(kDatabaseFileName).string();
        ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
        for (const char* sql : {"INSERT INTO TESTPERSON (ID, NAMN, TESTDATE, BORNDATE) VALUES "
                                "(1, 'Ett', '2010-06-01', '1980-01-01')",
                                "INSERT INTO TESTDATA (PERSONALDATA_ID, likheter) VALUES (1, 10)",
                                "DROP TABLE INDEX_NORMER"}) {
            Statement statement;
            ASSERT_TRUE(statement.executeDirect(sql) && statement.commit()) << sql;
        }
        DoDisconnect();
    }
    const std::string exportCommand = cd + RIVO_ADMIN_PATH + " export --groups ";
    // Written, with the warning that the person's SEX (none stored) is no value the form stores.
    EXPECT_EQ(WEXITSTATUS(std::system((exportCommand + "1 raw.txt > /dev/null 2>&1").c_str())), 2);
    EXPECT_NE(std::system((exportCommand + "3 index.txt > out.txt 2> err.txt").c_str()), 0);
    std::ifstream errors(dir.file("err.txt"));
    const std::string said((std::istreambuf_iterator<char>(errors)),
                           std::istreambuf_iterator<char>());
    EXPECT_NE(said.find("INDEX_NORMER"), std::string::npos) << said;
    EXPECT_NE(said.find("Exporten misslyckades"), std::string::npos) << said;
    EXPECT_EQ(said.find("Exporterade"), std::string::npos) << said;
}

} // namespace
