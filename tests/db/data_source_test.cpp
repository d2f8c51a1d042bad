// SPDX-License-Identifier: Apache-2.0
#include "data_source.h"

#include "database_fixture.h"
#include "db.h"
#include "message_capture.h"
#include "statement.h"
#include "temp_dir.h"
#include "working_directory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

class DataSource : public ::testing::Test {
  protected:
    std::filesystem::path write(const char* name, const std::string& contents, mode_t mode) {
        const std::filesystem::path file = dir_.file(name);
        std::ofstream(file) << contents;
        ::chmod(file.c_str(), mode);
        return file;
    }
    bool read(DataSourceSetting& setting, std::string& error) {
        return readDataSourceSetting(dir_.file("system.ini"), dir_.file("user.ini"), setting,
                                     error);
    }

    TempDir dir_;
};

TEST_F(DataSource, WithoutSettingsTheRegisterIsTheFileInTheWorkingDirectory) {
    DataSourceSetting setting;
    std::string error;
    ASSERT_TRUE(read(setting, error));
    EXPECT_FALSE(setting.configured);
    EXPECT_TRUE(error.empty());
}

TEST_F(DataSource, TheUsersFileOverridesTheSystemWideOne) {
    write("system.ini", "# the clinic's server\n[Datakälla]\nODBC=DSN=klinik\n", 0644);
    DataSourceSetting setting;
    std::string error;
    ASSERT_TRUE(read(setting, error)) << error;
    EXPECT_TRUE(setting.configured);
    EXPECT_EQ(setting.connectionString, "DSN=klinik");
    EXPECT_EQ(setting.file, dir_.file("system.ini"));

    write("user.ini", "  odbc = DSN=egen;Database=prov  \r\n", 0600);
    ASSERT_TRUE(read(setting, error)) << error;
    EXPECT_EQ(setting.connectionString, "DSN=egen;Database=prov");
    EXPECT_EQ(setting.file, dir_.file("user.ini"));
}

TEST_F(DataSource, AFileThatNamesNoSourceIsRefusedNotIgnored) {
    write("user.ini", "; nothing here yet\n", 0600);
    write("system.ini", "ODBC=DSN=klinik\n", 0644);
    DataSourceSetting setting;
    std::string error;
    EXPECT_FALSE(read(setting, error));
    EXPECT_NE(error.find("user.ini"), std::string::npos) << error;
    EXPECT_NE(error.find("ODBC=DSN="), std::string::npos) << error;
}

TEST_F(DataSource, APasswordOthersCanReadIsRefused) {
    const struct {
        mode_t mode;
        bool accepted;
    } cases[] = {{0644, false}, {0640, false}, {0604, false}, {0600, true}, {0400, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        write("system.ini", "ODBC=DSN=klinik;UID=rivo;PWD=hemligt\n", c.mode);
        DataSourceSetting setting;
        std::string error;
        EXPECT_EQ(read(setting, error), c.accepted);
        EXPECT_EQ(setting.configured, c.accepted);
        if (!c.accepted) {
            EXPECT_NE(error.find("lösenord"), std::string::npos) << error;
            EXPECT_NE(error.find(".pgpass"), std::string::npos) << error;
            EXPECT_EQ(error.find("hemligt"), std::string::npos) << "the password is never shown";
        }
    }
}

TEST(ConnectionStrings, PasswordAttributesAreFoundWhereverTheyStand) {
    const struct {
        const char* text;
        bool hasPassword;
    } cases[] = {
        {"DSN=klinik", false},
        {"DSN=klinik;PWD=x", true},
        {"pwd=x;DSN=klinik", true},
        {"DSN=klinik; Password = hemligt ;", true},
        {"DSN=klinik;PWD=;", false},
        {"DSN=klinik;PWD={}", false},
        {"DSN=klinik;PWD={a;b}", true},
        {"UID=pwd;DSN=x", false},
        {"DSN=x;ConnSettings={SET a=1;PWD=2}", false},
        {"DRIVER=PostgreSQL ANSI;Servername=/tmp;PASSWORD=x", true},
        // A driver option that passes a password on inside its value.
        {"DSN=rivo;pqopt={password=rivo}", true},
        {"DSN=rivo;PQOPT={sslmode=require PassWord=x}", true},
        {"DSN=rivo;pqopt={sslmode=require}", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(connectionStringHasPassword(c.text), c.hasPassword) << c.text;
    }
}

// The PostgreSQL driver's logs are turned off, and its round-trip options set, whatever the
// string or its DSN says: the last setting of an attribute is the one the driver keeps.
TEST(ServerConnectionString, SetsTheDriversOptionsLast) {
    constexpr const char* kOptions = ";CommLog=0;Debug=0;Protocol=7.4-1;UseServerSidePrepare=0";
    const struct {
        std::string configured;
        std::string sent;
    } cases[] = {
        {"DSN=rivo", std::string("DSN=rivo") + kOptions},
        {"DSN=rivo;", std::string("DSN=rivo") + kOptions},
        {"DSN=rivo;CommLog=1; ", std::string("DSN=rivo;CommLog=1") + kOptions},
        {"DSN=rivo;pqopt={a=1;}", std::string("DSN=rivo;pqopt={a=1;}") + kOptions},
        {"DSN=rivo;Protocol=7.4-2;UseServerSidePrepare=1",
         std::string("DSN=rivo;Protocol=7.4-2;UseServerSidePrepare=1") + kOptions},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(serverConnectionString(c.configured), c.sent) << c.configured;
        // Long reads add the cursor after everything else, so that it wins too.
        EXPECT_EQ(serverConnectionString(c.configured, RegisterReads::Long),
                  c.sent + ";UseDeclareFetch=1;Fetch=2000")
            << c.configured;
    }
}

constexpr const char* kLoggedQuery = "SELECT 424242";

// What the PostgreSQL driver logged for the process pid in the temporary folder.
std::string driverLogOf(pid_t pid) {
    std::string logged;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/tmp", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("psqlodbc_") && name.ends_with(std::to_string(pid) + ".log")) {
            std::ifstream file(entry.path());
            logged.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
    }
    return logged;
}

// Connects in a child process, through the settings file or with the string as written, and
// gives the child's pid once it has connected and gone.
pid_t connectedChild(bool throughSettings, const std::filesystem::path& config) {
    const pid_t child = ::fork();
    if (child == 0) {
        MessageCapture quiet;
        std::string error;
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        const int connected = throughSettings
                                  ? connectRegister(error)
                                  : DoConnectString(serverTestConnectionString().c_str());
        {
            Statement query;
            query.executeDirect(kLoggedQuery);
            query.commit();
        }
        DoDisconnect();
        std::fflush(nullptr); // the driver's log, had it one
        ::_exit(connected == 1 ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return child;
}

// Debian registers the PostgreSQL driver with CommLog=1: a connection string as written leaves a
// log of the session's statements, readable by anyone, in /tmp; the program's own connection
// logs none of them.
TEST(ServerConnectionString, LeavesNoDriverLogOnTheServer) {
    if (!testingOnServer()) {
        GTEST_SKIP() << "runs against a database server (RIVO_TEST_ODBC)";
    }
    TempDir config;
    std::filesystem::create_directory(config.file("RIVO-IV"));
    std::ofstream(config.path() / "RIVO-IV" / "datakalla.ini")
        << "ODBC=" << serverTestConnectionString() << "\n";
    ::chmod((config.path() / "RIVO-IV" / "datakalla.ini").c_str(), 0600);

    const pid_t asWritten = connectedChild(false, config.path());
    const bool driverLogs = driverLogOf(asWritten).find(kLoggedQuery) != std::string::npos;
    const pid_t program = connectedChild(true, config.path());
    EXPECT_EQ(driverLogOf(program).find(kLoggedQuery), std::string::npos) << driverLogOf(program);
    if (!driverLogs) {
        std::printf("The driver is not set to log here; only the absence was checked.\n");
    }
}

// The program's own connection: a configured source that cannot be reached is said in error,
// naming the settings file before the driver's own words, and no file is made in the working
// directory.
TEST_F(DataSource, AConfiguredSourceIsUsedInsteadOfTheFile) {
    const char* formerConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = formerConfig != nullptr ? formerConfig : "";
    ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    std::filesystem::create_directory(dir_.file("RIVO-IV"));
    std::ofstream(dir_.path() / "RIVO-IV" / "datakalla.ini") << "ODBC=DRIVER=Finns inte;\n";
    TempDir work;
    WorkingDirectory inWork(work.path());
    MessageCapture messages;
    std::string error;
    EXPECT_EQ(connectRegister(error), 0);
    const std::string settings = (dir_.path() / "RIVO-IV" / "datakalla.ini").string();
    EXPECT_TRUE(error.starts_with("Registret kunde inte nås genom datakällan som " + settings))
        << error;
    EXPECT_NE(error.find("Drivrutinens svar: [unixODBC]"), std::string::npos) << error;
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_FALSE(std::filesystem::exists(work.file(kDatabaseFileName)));
    DoDisconnect();

    std::ofstream(dir_.path() / "RIVO-IV" / "datakalla.ini") << "ODBC=DSN=x;PWD=y\n";
    ::chmod((dir_.path() / "RIVO-IV" / "datakalla.ini").c_str(), 0644);
    messages.clear();
    EXPECT_EQ(connectRegister(error), 0);
    EXPECT_NE(error.find("kan läsas av andra"), std::string::npos) << error;
    EXPECT_TRUE(messages.texts().empty());
    DoDisconnect();
    if (formerConfig != nullptr) {
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

} // namespace
