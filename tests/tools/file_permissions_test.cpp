// SPDX-License-Identifier: Apache-2.0
// Every file the program writes holds personal data and must be readable by its owner alone,
// whatever the umask of the process that writes it: here the most permissive one, 000.

#include "database_backup.h"
#include "db.h"
#include "message_capture.h"
#include "personal_data_settings.h"
#include "settings_location.h"
#include "subtest_table.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

class FilePermissions : public ::testing::Test {
  protected:
    void SetUp() override { previousMask_ = umask(0); }
    void TearDown() override {
        DoDisconnect();
        unsetenv("XDG_CONFIG_HOME");
        umask(previousMask_);
    }

    static unsigned mode(const std::filesystem::path& path) {
        struct stat info {};
        EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
        return info.st_mode & 07777u;
    }

    // Runs rivo-admin in the test's folder; its exit code. What it printed is shown on failure.
    int admin(const std::string& arguments, const std::string& input = "") {
        const std::string command = "cd '" + dir_.path().string() + "' && " +
                                    (input.empty() ? "" : "printf '" + input + "' | ") +
                                    "'" RIVO_ADMIN_PATH "' " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string output;
        char buffer[512];
        for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        const int status = pclose(pipe);
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        EXPECT_EQ(code, 0) << arguments << ":\n" << output;
        return code;
    }

    void storeOnePerson() {
        ASSERT_EQ(DoConnect("", "", dir_.file(kDatabaseFileName).c_str()), 1);
        ASSERT_EQ(DoReadNameID(), DB_DONE);
        TestOccasion occasion{};
        std::strcpy(occasion.person.NAMN, "Behörig Ägare");
        occasion.person.SEX = 1;
        occasion.person.BORNDATE = DateValue{1980, 5, 1};
        occasion.person.TESTDATE = DateValue{2011, 2, 13};
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
        for (int i = 0; i < kRawScoreCount; ++i) {
            occasion.RawScores[i] = kSubtests[i].formMax / 2;
        }
        // The total the form stores for the three digit-span parts.
        occasion.RawScores[RAW_SIFFERREPETITION] = occasion.RawScores[RAW_SRFRAM] +
                                                   occasion.RawScores[RAW_SRBAK] +
                                                   occasion.RawScores[RAW_SS];
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
        personId_ = occasion.person.ID;
    }

    TempDir dir_;
    MessageCapture messages_;
    mode_t previousMask_ = 0;
    std::int32_t personId_ = 0;
};

TEST_F(FilePermissions, EveryFileWrittenUnderUmask000IsTheOwnersAlone) {
    ASSERT_EQ(admin("init-db --user psykolog --password-stdin", "demo123\\n"), 0);
    EXPECT_EQ(mode(dir_.file(kDatabaseFileName)), 0600u);
    storeOnePerson();

    std::string message;
    ASSERT_TRUE(writeDatabaseBackup(dir_.file("kopia.db").string(), message)) << message;
    EXPECT_EQ(mode(dir_.file("kopia.db")), 0600u);
    // A backup written over an older, readable one makes it private too.
    ASSERT_EQ(chmod(dir_.file("kopia.db").c_str(), 0666), 0);
    ASSERT_TRUE(writeDatabaseBackup(dir_.file("kopia.db").string(), message)) << message;
    EXPECT_EQ(mode(dir_.file("kopia.db")), 0600u);
    DoDisconnect();

    // The export and the PDF, each also written over an older file that others could read.
    const std::string report = "report --id " + std::to_string(personId_) + " --pdf rapport.pdf";
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            ASSERT_EQ(chmod(dir_.file("export.txt").c_str(), 0666), 0);
            ASSERT_EQ(chmod(dir_.file("rapport.pdf").c_str(), 0666), 0);
        }
        ASSERT_EQ(admin("export --groups 0,1,2,3 export.txt"), 0);
        EXPECT_EQ(mode(dir_.file("export.txt")), 0600u) << round;
        ASSERT_EQ(admin(report), 0);
        EXPECT_EQ(mode(dir_.file("rapport.pdf")), 0600u) << round;
    }

    ASSERT_EQ(setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1), 0);
    EXPECT_TRUE(writePersonalDataSetting("TESTLEDARE", QStringLiteral("Märta Öst")));
    EXPECT_TRUE(writePersonalDataSetting("TESTAD_VID", QStringLiteral("Mottagningen")));
    const std::filesystem::path settings = settingsFilePath();
    EXPECT_EQ(settings, dir_.file("config") / "RIVO-IV" / "kvade.ini");
    EXPECT_EQ(mode(settings), 0600u);
    EXPECT_EQ(mode(settings.parent_path()), 0700u);
    ASSERT_EQ(chmod(settings.c_str(), 0666), 0);
    EXPECT_TRUE(writePersonalDataSetting("TESTLEDARE", QStringLiteral("Annan")));
    EXPECT_EQ(mode(settings), 0600u);

    // Nothing else was left in the folder, readable or not.
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        if (entry.is_regular_file()) {
            EXPECT_EQ(mode(entry.path()), 0600u) << entry.path();
        }
    }
}

} // namespace
