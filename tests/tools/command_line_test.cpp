// SPDX-License-Identifier: Apache-2.0
// rivo-admin's command line as a user meets it: --help, wrong commands and options, refusals that
// leave no file and no log row, and the messages that say what to do.
#include "child_run.h"
#include "db.h"
#include "demo_database.h"
#include "message_capture.h"
#include "raw_files.h"
#include "schema.h"
#include "statement.h"
#include "subtest_table.h"
#include "temp_dir.h"
#include "test_occasion.h"
#include "typical_occasion.h"
#include "working_directory.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        work_ = dir_.path() / "work";
        fs::create_directories(work_);
        fs::create_directories(dir_.path() / "run");
        fs::create_directories(dir_.path() / "config" / "RIVO-IV");
        runtime_ =
            std::make_unique<ScopedEnvironment>("XDG_RUNTIME_DIR", (dir_.path() / "run").string());
        config_ = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME",
                                                      (dir_.path() / "config").string());
    }

    Outcome admin(const std::vector<std::string>& args) {
        const fs::path out = dir_.path() / "out";
        const fs::path err = dir_.path() / "err";
        const int status = runInFolder(RIVO_ADMIN_PATH, work_, args, {}, out, err);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileBytes(out), fileBytes(err)};
    }

    // The demonstration register with one person, whose ID is 1.
    void makeRegister() {
        std::string error;
        ASSERT_TRUE(
            createDemoDatabase((work_ / kDatabaseFileName).string(), "psykolog", "demo123", error))
            << error;
        MessageCapture messages;
        ASSERT_EQ(DoConnect("", "", (work_ / kDatabaseFileName).c_str()), 1);
        TestOccasion occasion = typicalOccasion();
        EXPECT_EQ(DoInsertPD(occasion.person), DB_DONE);
        EXPECT_EQ(DoInsertTD(occasion), DB_DONE);
        EXPECT_EQ(occasion.person.ID, 1);
        DoDisconnect();
    }

    int logRows() {
        MessageCapture messages;
        EXPECT_EQ(DoConnect("", "", (work_ / kDatabaseFileName).c_str()), 1);
        std::int32_t rows = -1;
        {
            Statement statement;
            EXPECT_TRUE(statement.executeDirect("SELECT COUNT(*) FROM ATKOMSTLOGG") &&
                        statement.bindColumnInt(1, &rows) &&
                        statement.fetch() == Statement::Fetch::Row);
        }
        DoDisconnect();
        return rows;
    }

    std::vector<std::string> filesInWork() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(work_)) {
            // The register's lock file stays once a command has opened the register.
            if (!entry.path().filename().string().ends_with(".rivo-lock")) {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
    fs::path work_;
    std::unique_ptr<ScopedEnvironment> runtime_;
    std::unique_ptr<ScopedEnvironment> config_;
};

TEST_F(CommandLine, EveryCommandAnswersHelpAlikeWithItsUsageAndExitZero) {
    const char* commands[] = {"init-db",      "user",         "export",      "report",
                              "export-norms", "import-norms", "check-norms", "backup",
                              "restore",      "log",          "upgrade-db"};
    for (const char* command : commands) {
        // Alone, after other arguments, and as the value an option would take.
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{command, "--help"},
              std::vector<std::string>{command, "--id", "1", "--help"},
              std::vector<std::string>{command, "-h"}}) {
            const Outcome outcome = admin(args);
            SCOPED_TRACE(std::string(command) + " " + args[1]);
            EXPECT_EQ(outcome.code, 0);
            EXPECT_EQ(outcome.err, "");
            const std::string usage = std::string("Användning:\n  rivo-admin ") + command;
            EXPECT_TRUE(outcome.out.starts_with(usage + " ") ||
                        outcome.out.starts_with(usage + "\n"))
                << outcome.out;
            // Only this command's usage.
            EXPECT_EQ(outcome.out.find("Slutstatus"), std::string::npos);
        }
    }
    // Nothing was read or made: there is no register here.
    EXPECT_TRUE(filesInWork().empty());
    for (const char* help : {"--help", "-h"}) {
        const Outcome whole = admin({help});
        EXPECT_EQ(whole.code, 0);
        for (const char* command : commands) {
            EXPECT_NE(whole.out.find(std::string("  rivo-admin ") + command), std::string::npos)
                << command;
        }
    }
}

TEST_F(CommandLine, WhatIsWrongIsNamedOnItsOwnLineBeforeTheUsage) {
    makeRegister();
    struct Case {
        std::vector<std::string> args;
        const char* firstLine;
    };
    const Case cases[] = {
        {{}, "Ange ett kommando."},
        {{"bogus"}, "Okänt kommando: bogus"},
        {{"--bogus"}, "Okänd flagga: --bogus"},
        {{"init-db", "--usr", "anna"}, "Okänt argument: --usr"},
        {{"user", "bogus"}, "Okänt argument: bogus"},
        {{"user", "add"}, "Ange användarens namn: rivo-admin user add NAMN."},
        {{"user", "add", "anna", "--pw"}, "Okänt argument: --pw"},
        {{"check-norms", "x"}, "Okänt argument: x"},
        {{"export-norms", "a", "b"}, "Okänt argument: b"},
        {{"import-norms"}, "Ange mappen med normtabellernas CSV-filer."},
        {{"export", "--groups", "0", "x.txt", "--fast"}, "Okänt argument: --fast"},
        {{"report", "--id", "1"},
         "Ange vad som ska skrivas: --json, --pdf eller --html med ett filnamn."},
        {{"report", "--json", "r.json"}, "Ange vems rapport som ska skrivas: --id N eller --all."},
        {{"report", "--id", "1", "--all", "--json", "r.json"},
         "Ange antingen --id N eller --all, inte båda."},
        {{"report", "--id", "1", "--html5", "r.html"}, "Okänt eller felaktigt argument: --html5"},
    };
    const int rowsBefore = logRows();
    for (const Case& c : cases) {
        const Outcome outcome = admin(c.args);
        SCOPED_TRACE(c.firstLine);
        EXPECT_EQ(outcome.code, 1);
        EXPECT_EQ(firstLine(outcome.err), c.firstLine);
        EXPECT_NE(outcome.err.find("\nAnvändning:"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_EQ(filesInWork(), std::vector<std::string>{kDatabaseFileName});
    EXPECT_EQ(logRows(), rowsBefore);
}

TEST_F(CommandLine, AReportOfEveryoneAsOnePdfIsRefusedBeforeAnyFileOrLogRow) {
    makeRegister();
    std::ofstream(work_ / "y.pdf") << "en tidigare rapport";
    const int rowsBefore = logRows();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"report", "--all", "--pdf", "y.pdf"},
          std::vector<std::string>{"report", "--all", "--json", "alla.json", "--pdf", "y.pdf"}}) {
        const Outcome outcome = admin(args);
        EXPECT_EQ(outcome.code, 1);
        EXPECT_TRUE(outcome.err.starts_with("--pdf skriver en testpersons rapport per fil och går "
                                            "inte med --all"))
            << outcome.err;
    }
    EXPECT_EQ(fileBytes(work_ / "y.pdf"), "en tidigare rapport");
    EXPECT_EQ(filesInWork(), (std::vector<std::string>{kDatabaseFileName, "y.pdf"}));
    EXPECT_EQ(logRows(), rowsBefore);
    // One person's PDF is still written over the earlier file.
    EXPECT_EQ(admin({"report", "--id", "1", "--pdf", "y.pdf"}).code, 0);
    EXPECT_TRUE(fileBytes(work_ / "y.pdf").starts_with("%PDF"));
}

TEST_F(CommandLine, CountsAreSaidInSingularAndPlural) {
    makeRegister();
    const Outcome one = admin({"export", "--groups", "0,1", "e.txt"});
    EXPECT_EQ(one.code, 0);
    EXPECT_NE(one.err.find("Exporterade 1 testperson till e.txt"), std::string::npos) << one.err;
    const Outcome norms = admin({"check-norms"});
    EXPECT_EQ(norms.code, 0);
    EXPECT_NE(norms.out.find("(754 rader, syntetiska demonstrationsnormer)"), std::string::npos)
        << norms.out;
}

TEST_F(CommandLine, AnOlderRegisterIsToldToRunUpgradeDb) {
    const fs::path database = work_ / kDatabaseFileName;
    char error[256] = {};
    ASSERT_TRUE(createDatabaseFile(database.c_str(), error, sizeof error)) << error;
    {
        MessageCapture messages;
        ASSERT_EQ(DoConnect("", "", database.c_str()), 1);
        ASSERT_EQ(DoCreateSchemaBeforeAccessLog(), DB_DONE);
        DoDisconnect();
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", "--groups", "0", "e.txt"},
          std::vector<std::string>{"report", "--all", "--json", "r.json"},
          std::vector<std::string>{"report", "--id", "1", "--pdf", "r.pdf"}}) {
        const Outcome outcome = admin(args);
        EXPECT_EQ(outcome.code, 1) << args[0];
        EXPECT_NE(outcome.err.find("Kör `rivo-admin upgrade-db`"), std::string::npos)
            << outcome.err;
        EXPECT_EQ(outcome.err.find("[SQLite]"), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(filesInWork(), std::vector<std::string>{kDatabaseFileName});
    EXPECT_EQ(admin({"upgrade-db"}).code, 0);
    EXPECT_EQ(admin({"export", "--groups", "0", "e.txt"}).code, 0);
}

TEST_F(CommandLine, ADataSourceThatCannotBeReachedNamesTheSettingsFileThatChoseIt) {
    const fs::path settings = dir_.path() / "config" / "RIVO-IV" / "datakalla.ini";
    std::ofstream(settings) << "ODBC=DSN=finns_inte_rivo\n";
    const Outcome outcome = admin({"check-norms"});
    EXPECT_EQ(outcome.code, 1);
    EXPECT_TRUE(outcome.err.starts_with("Registret kunde inte nås genom datakällan som " +
                                        settings.string() + " anger."))
        << outcome.err;
}

} // namespace
