// SPDX-License-Identifier: Apache-2.0
// rivo-admin on the register the data-source settings name: users added, listed and removed on
// the SQLite file and on a server, and the export of the same occasions byte for byte the same
// from both.

#include "data_source.h"
#include "database_fixture.h"
#include "export_writer.h"
#include "memory_norm_source.h"
#include "password_hash.h"
#include "results_opening.h"
#include "statement.h"
#include "subtest_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A working directory and a settings folder for rivo-admin: with a connection string the
// register is on that data source, without one it is DODODA.db in the folder.
class AdminPlace {
  public:
    explicit AdminPlace(const std::string& connectionString) {
        std::filesystem::create_directory(config_.file("RIVO-IV"));
        if (!connectionString.empty()) {
            std::ofstream(config_.path() / "RIVO-IV" / "datakalla.ini")
                << "ODBC=" << connectionString << "\n";
        }
    }
    // Runs rivo-admin with the arguments and input; its standard output lands in output().
    int run(const std::string& arguments, const std::string& input = "") const {
        const std::string command = "cd '" + work_.path().string() + "' && printf '" + input +
                                    "' | XDG_CONFIG_HOME='" + config_.path().string() + "' " +
                                    RIVO_ADMIN_PATH + " " + arguments + " > out.txt 2> err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string output() const { return readFile(work_.file("out.txt")); }
    std::string errors() const { return readFile(work_.file("err.txt")); }
    const TempDir& work() const { return work_; }

  private:
    TempDir work_;
    TempDir config_;
};

// The register the tests run on, made by rivo-admin init-db: the SQLite file, or an empty
// schema on the test server.
class SharedRegister : public ::testing::Test {
  protected:
    void SetUp() override {
        if (testingOnServer()) {
            ASSERT_TRUE(connectEmptyServerSchema());
            DoDisconnect();
        }
        place_ = std::make_unique<AdminPlace>(serverTestConnectionString());
        if (testingWithSeparateOwner()) {
            // The administrator makes the register as its owner; the commands below run as the
            // workstations do.
            const AdminPlace owner(serverOwnerTestConnectionString());
            ASSERT_EQ(owner.run("init-db --user psykolog --password-stdin --workstation-role " +
                                    serverWorkstationRole(),
                                "demo123\\n"),
                      0)
                << owner.errors();
            return;
        }
        ASSERT_EQ(place_->run("init-db --user psykolog --password-stdin", "demo123\\n"), 0)
            << place_->errors();
    }
    // Connects as the workstations do, or as the register's owner.
    void connect(bool asOwner = false) {
        if (testingOnServer()) {
            ASSERT_EQ(DoConnectString(asOwner ? serverOwnerTestConnectionString().c_str()
                                              : serverTestConnectionString().c_str()),
                      1);
        } else {
            const std::string path = place_->work().file(kDatabaseFileName).string();
            ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
        }
    }

    std::unique_ptr<AdminPlace> place_;
    MessageCapture messages_;
};

TEST_F(SharedRegister, UsersAreAddedListedAndRemovedAndTheLoginKnowsThem) {
    const AdminPlace& admin = *place_;
    ASSERT_EQ(admin.run("user add anna --password-stdin", "hemligt\\n"), 0) << admin.errors();
    EXPECT_NE(admin.run("user add anna --password-stdin", "annat1\\n"), 0);
    EXPECT_NE(admin.errors().find("anna"), std::string::npos) << admin.errors();
    // The login's 3-10 characters, for the name and the password.
    EXPECT_EQ(admin.run("user add ab --password-stdin", "hemligt\\n"), 1);
    EXPECT_EQ(admin.run("user add bertil --password-stdin", "elvatecken1\\n"), 1);
    EXPECT_EQ(admin.run("user add bertil --password-stdin", ""), 1);
    EXPECT_EQ(admin.run("user frobnicate"), 1);

    ASSERT_EQ(admin.run("user list"), 0) << admin.errors();
    EXPECT_EQ(admin.output(), "anna\npsykolog\n");

    connect();
    {
        // Stored as a hash from the start, not only after the first login.
        Statement statement;
        char stored[256] = {};
        statement.bindText(1, "anna");
        statement.executeDirect("SELECT PASSWORD FROM SEC WHERE USERID = ?");
        statement.bindColumnText(1, stored, sizeof stored);
        statement.fetchEach([] {});
        statement.closeCursor();
        EXPECT_TRUE(isPasswordHash(stored)) << stored;
        EXPECT_EQ(std::strstr(stored, "hemligt"), nullptr);
    }
    EXPECT_EQ(DoReadPassword("anna", "hemligt"), DB_DONE);
    EXPECT_EQ(DoReadPassword("anna", "annat1"), DB_WRONG_PASSWORD);
    EXPECT_EQ(DoReadPassword("ab", "hemligt"), DB_NO_ROW);
    DoDisconnect();

    ASSERT_EQ(admin.run("user remove anna"), 0) << admin.errors();
    EXPECT_EQ(admin.run("user remove anna"), 1);
    EXPECT_NE(admin.errors().find("ingen användare anna"), std::string::npos) << admin.errors();
    ASSERT_EQ(admin.run("user list"), 0);
    EXPECT_EQ(admin.output(), "psykolog\n");
    EXPECT_TRUE(messages_.texts().empty());
}

// Names and passwords from the command line and standard input: control characters and broken
// UTF-8 are refused before anything is stored, wherever they enter.
TEST_F(SharedRegister, NamesAndPasswordsWithControlCharactersOrBrokenUtf8AreRefused) {
    const AdminPlace& admin = *place_;
    const struct {
        std::string arguments;
        std::string input;
        const char* says;
    } cases[] = {
        {"user add nisse --password-stdin", "ab\\000cdef\\n", "Lösenordet får inte innehålla"},
        {"user add \"$(printf 'ni\\nsse')\" --password-stdin", "hemligt\\n",
         "Användarnamnet får inte innehålla"},
        {"user add \"abc$(printf '\\200%.0s' $(seq 200))\" --password-stdin", "hemligt\\n",
         "Användarnamnet är inte giltig UTF-8"},
        {"user remove \"$(printf 'psy\\033kolog')\"", "", "Användarnamnet får inte innehålla"},
        {"init-db --user \"$(printf 'ny\\rnamn')\" --password-stdin", "hemligt\\n",
         "Användarnamnet får inte innehålla"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(admin.run(c.arguments, c.input), 0) << c.arguments;
        EXPECT_NE(admin.errors().find(c.says), std::string::npos) << admin.errors();
        ASSERT_EQ(admin.run("user list"), 0);
        EXPECT_EQ(admin.output(), "psykolog\n") << c.arguments;
    }
}

// A password an older database holds in plain text is marked in the list until rehash replaces it.
TEST_F(SharedRegister, PlainTextPasswordsAreMarkedAndRehashed) {
    connect();
    {
        // Freed before the connection is: its handle goes with the connection.
        Statement insert;
        ASSERT_TRUE(
            insert.executeDirect("INSERT INTO SEC (USERID, PASSWORD) VALUES ('gammal', 'lösen1')"));
        insert.commit();
    }
    DoDisconnect();
    const AdminPlace& admin = *place_;
    ASSERT_EQ(admin.run("user list"), 0);
    EXPECT_EQ(admin.output(), "gammal\t(lösenordet lagrat i klartext)\npsykolog\n");
    EXPECT_NE(admin.errors().find("user rehash"), std::string::npos);
    ASSERT_EQ(admin.run("user rehash"), 0) << admin.errors();
    EXPECT_EQ(admin.output(), "1 lösenord i klartext ersattes av sina hashvärden.\n");
    ASSERT_EQ(admin.run("user list"), 0);
    EXPECT_EQ(admin.output(), "gammal\npsykolog\n");
    connect();
    EXPECT_EQ(DoReadPassword("gammal", "lösen1"), DB_DONE);
    DoDisconnect();
}

// A workstation role is refused where it cannot hold: a name the server would read otherwise, or
// a register with no roles at all. Nothing changes.
TEST_F(SharedRegister, AWorkstationRoleIsRefusedWhereItCannotHold) {
    struct Case {
        std::string arguments;
        const char* says;
    };
    std::vector<Case> cases = {
        {"init-db --user nisse --password-stdin --workstation-role 'ej giltig'", "1-63 tecken"},
        {"upgrade-db --workstation-role 1rivo", "1-63 tecken"},
        {"upgrade-db --workstation-role", "--workstation-role"},
    };
    if (!testingOnServer()) {
        cases.push_back({"init-db --user nisse --password-stdin --workstation-role rivo",
                         "bara ett register på en server"});
        cases.push_back({"upgrade-db --workstation-role rivo", "bara ett register på en server"});
    }
    for (const Case& c : cases) {
        EXPECT_EQ(place_->run(c.arguments, "hemligt\\n"), 1) << c.arguments;
        EXPECT_NE(place_->errors().find(c.says), std::string::npos) << place_->errors();
        ASSERT_EQ(place_->run("user list"), 0) << place_->errors();
        EXPECT_EQ(place_->output(), "psykolog\n") << c.arguments;
    }
}

TEST_F(SharedRegister, InitDbNeverOverwritesARegister) {
    EXPECT_EQ(place_->run("init-db --user annan --password-stdin", "demo123\\n"), 1);
    ASSERT_EQ(place_->run("user list"), 0);
    EXPECT_EQ(place_->output(), "psykolog\n");
}

// The norm tables written out and read in again, on the register the tests run on: the server
// has no file to back up beforehand, and says where its backup is.
TEST_F(SharedRegister, NormTablesGoOutAndComeBackIn) {
    ASSERT_EQ(place_->run("export-norms normer"), 0) << place_->errors();
    ASSERT_EQ(place_->run("import-norms normer"), 0) << place_->errors();
    EXPECT_NE(place_->output().find(testingOnServer() ? "databasserver" : "Säkerhetskopia"),
              std::string::npos)
        << place_->output();
    EXPECT_EQ(std::filesystem::exists(place_->work().file(kDatabaseFileName)), !testingOnServer());
    ASSERT_EQ(place_->run("check-norms"), 0) << place_->errors();
}

// Stores the same occasions through the program's own statements.
void storeOccasions() {
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    for (int person = 0; person < 6; ++person) {
        TestOccasion occasion{};
        occasion.person = samplePerson(person % 2 == 0 ? "Åke Ärlig" : "Eva Öst");
        occasion.person.SEX = 1 + person % 2;
        occasion.person.BORNDATE = DateValue{static_cast<std::int16_t>(1935 + 11 * person), 2, 28};
        occasion.person.TESTDATE = DateValue{2011, 2, 13};
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
        for (int raw = 0; raw < kRawScoreCount; ++raw) {
            occasion.RawScores[raw] =
                raw == person ? NOT_ADMINISTERED : kSubtests[raw].formMax / (2 + person % 3);
        }
        // The total the form stores: the sum of the three parts, or not administered with one.
        std::int32_t* raw = occasion.RawScores;
        raw[RAW_SIFFERREPETITION] = raw[RAW_SRFRAM] == NOT_ADMINISTERED ||
                                            raw[RAW_SRBAK] == NOT_ADMINISTERED ||
                                            raw[RAW_SS] == NOT_ADMINISTERED
                                        ? NOT_ADMINISTERED
                                        : raw[RAW_SRFRAM] + raw[RAW_SRBAK] + raw[RAW_SS];
        ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
        ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
    }
}

TEST_F(SharedRegister, ExportIsTheSameFileFromTheServerAndFromSQLite) {
    if (!testingOnServer()) {
        GTEST_SKIP() << "compares a server (RIVO_TEST_ODBC) with SQLite";
    }
    connect();
    storeOccasions();
    DoDisconnect();
    AdminPlace file("");
    ASSERT_EQ(file.run("init-db --user psykolog --password-stdin", "demo123\\n"), 0);
    const std::string path = file.work().file(kDatabaseFileName).string();
    ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
    storeOccasions();
    DoDisconnect();

    ASSERT_EQ(place_->run("export --groups 0,1,2,3 export.txt"), 0) << place_->errors();
    ASSERT_EQ(file.run("export --groups 0,1,2,3 export.txt"), 0) << file.errors();
    const std::string fromServer = readFile(place_->work().file("export.txt"));
    EXPECT_EQ(std::count(fromServer.begin(), fromServer.end(), '\n'), 7);
    EXPECT_EQ(fromServer, readFile(file.work().file("export.txt")));
    EXPECT_FALSE(std::filesystem::exists(place_->work().file(kDatabaseFileName)));
    EXPECT_TRUE(messages_.texts().empty());
}

// Drops the access log's triggers, so that a test can alter a row as an intruder would.
void dropLogTriggers() {
    const char* drops[] = {"DROP TRIGGER ATKOMSTLOGG_INGEN_ANDRING ON ATKOMSTLOGG",
                           "DROP TRIGGER ATKOMSTLOGG_INGEN_ANDRING",
                           "DROP TRIGGER ATKOMSTLOGG_INGEN_BORTTAGNING"};
    for (const char* drop : testingOnServer() ? std::vector<const char*>{drops[0]}
                                              : std::vector<const char*>{drops[1], drops[2]}) {
        Statement statement;
        ASSERT_TRUE(statement.executeDirect(drop) && statement.commit()) << drop;
    }
}

TEST_F(SharedRegister, TheCommandsAreLoggedAndTheLogIsReadAndVerified) {
    connect();
    storeOccasions();
    DoDisconnect();
    AdminPlace& admin = *place_;
    ASSERT_EQ(admin.run("user add anna --password-stdin", "hemligt\\n"), 0) << admin.errors();
    ASSERT_EQ(admin.run("report --id 2 --json rapport.json"), 0) << admin.errors();
    ASSERT_EQ(admin.run("export --groups 0 export.txt"), 0) << admin.errors();

    ASSERT_EQ(admin.run("log --json -"), 0) << admin.errors();
    const std::string json = admin.output();
    const std::string expected[] = {
        R"("seq":1,)",
        R"("program":"rivo-admin","event":"user-added","person":null,"detail":"psykolog")",
        R"("seq":2,)",
        R"("event":"user-added","person":null,"detail":"anna")",
        R"("seq":3,)",
        R"("event":"json-written","person":2,"detail":"rapport.json")",
        R"("seq":4,)",
        R"("event":"exported","person":null,"detail":"6 testpersoner (ID 1-6) till export.txt")"};
    std::size_t at = 0;
    for (const std::string& part : expected) {
        at = json.find(part, at);
        ASSERT_NE(at, std::string::npos) << part << " in\n" << json;
    }
    EXPECT_EQ(json.find(R"("user":"os:)"), json.find(R"("user":)")) << json;
    EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 4);

    ASSERT_EQ(admin.run("log --person 2 --csv person2.csv"), 0) << admin.errors();
    const std::string csv = readFile(admin.work().file("person2.csv"));
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
              "seq,time,user,workstation,program,event,person,detail,hash\r\n");
    // The export's row names person 2 among the persons it wrote.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
    EXPECT_NE(csv.find(",json-written,2,rapport.json,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",exported,,6 testpersoner (ID 1-6) till export.txt,"), std::string::npos)
        << csv;
    EXPECT_EQ(std::filesystem::status(admin.work().file("person2.csv")).permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    ASSERT_EQ(admin.run("log --user anna"), 0) << admin.errors();
    // Only the heading: anna has done nothing, and rivo-admin acts as the account it runs under.
    const std::string table = admin.output();
    EXPECT_EQ(table.find("Nr"), 0u) << table;
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1) << table;
    ASSERT_EQ(admin.run("log --from 2000-01-01 --to 2099-12-31"), 0) << admin.errors();
    EXPECT_NE(admin.output().find("Resultat som JSON"), std::string::npos) << admin.output();
    for (const char* wrong :
         {"log --from 2025-02-30", "log --person x", "log --to", "log --frobnicate 1"}) {
        EXPECT_EQ(admin.run(wrong), 1) << wrong;
    }

    // A run over everyone writes one row per person before the persons are streamed.
    ASSERT_EQ(admin.run("report --all --json alla.json"), 0) << admin.errors();
    ASSERT_EQ(admin.run("log --json -"), 0) << admin.errors();
    const std::string all = admin.output();
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 4 + 6) << all;
    for (int id = 1; id <= 6; ++id) {
        EXPECT_NE(all.find(R"("event":"json-written","person":)" + std::to_string(id) +
                           R"(,"detail":"alla.json")"),
                  std::string::npos)
            << id << all;
    }

    ASSERT_EQ(admin.run("log verify"), 0) << admin.output() << admin.errors();
    EXPECT_NE(admin.output().find("alla 10 rader"), std::string::npos) << admin.output();
    connect(true);
    dropLogTriggers();
    {
        Statement alter;
        ASSERT_TRUE(alter.executeDirect("UPDATE ATKOMSTLOGG SET PERSON_ID = 3 WHERE SEKVENS = 3") &&
                    alter.commit());
    }
    DoDisconnect();
    EXPECT_EQ(admin.run("log verify"), 1);
    EXPECT_EQ(admin.output().find("Rad 3 stämmer inte"), 0u) << admin.output();
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(SharedRegister, UpgradeDbGivesAnOlderRegisterItsLog) {
    connect(true);
    std::vector<const char*> drops = {"DROP TABLE ATKOMSTLOGG", "DROP TABLE ATKOMSTLOGG_HUVUD"};
    if (testingOnServer()) {
        drops.push_back("DROP FUNCTION atkomstlogg_vagra()");
    }
    for (const char* drop : drops) {
        Statement statement;
        ASSERT_TRUE(statement.executeDirect(drop) && statement.commit()) << drop;
    }
    DoDisconnect();
    EXPECT_EQ(place_->run("log"), 1);
    // On a server split into roles the owner upgrades, and gives the workstations their rights
    // on the new tables.
    const std::string role = serverWorkstationRole();
    const AdminPlace owner(testingWithSeparateOwner() ? serverOwnerTestConnectionString() : "");
    const AdminPlace& upgrader = role.empty() ? *place_ : owner;
    const std::string grant = role.empty() ? "" : " --workstation-role " + role;
    ASSERT_EQ(upgrader.run("upgrade-db" + grant), 0) << upgrader.errors();
    EXPECT_NE(upgrader.output().find("har fått en åtkomstlogg"), std::string::npos);
    ASSERT_EQ(upgrader.run("upgrade-db"), 0) << upgrader.errors();
    EXPECT_NE(upgrader.output().find("redan"), std::string::npos);
    ASSERT_EQ(place_->run("user add anna --password-stdin", "hemligt\\n"), 0);
    ASSERT_EQ(place_->run("user list"), 0);
    EXPECT_EQ(place_->output(), "anna\npsykolog\n");
    ASSERT_EQ(place_->run("log verify"), 0) << place_->output();
    EXPECT_NE(place_->output().find("den enda raden"), std::string::npos) << place_->output();
}

// A server register whose log is older than the append function: the commands that log ask for
// upgrade-db, which adds the function alone, and the chain goes on.
TEST_F(SharedRegister, UpgradeDbGivesAServerRegisterTheAppendFunction) {
    if (!testingOnServer()) {
        GTEST_SKIP() << "the function is a server's";
    }
    ASSERT_EQ(place_->run("user add anna --password-stdin", "hemligt\\n"), 0) << place_->errors();
    connect(true);
    {
        Statement drop;
        ASSERT_TRUE(drop.executeDirect("DROP FUNCTION atkomstlogg_skriv(VARCHAR, VARCHAR, "
                                       "VARCHAR, VARCHAR, INTEGER, VARCHAR)") &&
                    drop.commit());
    }
    DoDisconnect();
    EXPECT_EQ(place_->run("user add bertil --password-stdin", "hemligt\\n"), 1);
    EXPECT_NE(place_->errors().find("rivo-admin upgrade-db"), std::string::npos)
        << place_->errors();
    const std::string role = serverWorkstationRole();
    const AdminPlace owner(testingWithSeparateOwner() ? serverOwnerTestConnectionString() : "");
    const AdminPlace& upgrader = role.empty() ? *place_ : owner;
    ASSERT_EQ(upgrader.run("upgrade-db" + (role.empty() ? "" : " --workstation-role " + role)), 0)
        << upgrader.errors();
    ASSERT_EQ(place_->run("user add bertil --password-stdin", "hemligt\\n"), 0) << place_->errors();
    ASSERT_EQ(place_->run("log verify"), 0) << place_->output() << place_->errors();
    EXPECT_NE(place_->output().find("alla 3 rader"), std::string::npos) << place_->output();
}

// Adds 1 to every IK of an exported INDEX_NORMER file and to its confidence limits.
void raiseIndexScores(const std::filesystem::path& file) {
    std::istringstream lines(readFile(file));
    std::string edited;
    std::string line;
    for (int number = 0; std::getline(lines, line); ++number) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, ',');) {
            fields.push_back(field);
        }
        ASSERT_GE(fields.size(), 4u) << line;
        for (const std::size_t column : {3u, 5u, 6u, 7u, 8u}) {
            if (number > 0 && column < fields.size()) {
                fields[column] = std::to_string(std::stoi(fields[column]) + 1);
            }
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            edited += (i == 0 ? "" : ",") + fields[i];
        }
        edited += "\n";
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << edited;
}

// Norms that another workstation imports while this one holds the former ones in memory: the next
// opening of results, print and export here use the new ones.
TEST_F(SharedRegister, NormsImportedElsewhereAreUsedAtTheNextResultsPrintAndExport) {
    connect();
    storeOccasions();
    TestOccasion& occasion = testOccasion();
    const auto open = [&occasion] {
        resetTestOccasion();
        std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
        ASSERT_EQ(DoReadPD(1, occasion.person), DB_DONE);
        ASSERT_EQ(DoReadTD(occasion), DB_DONE);
        scoreOpenedOccasion(occasion);
    };
    open();
    const int former = occasion.indexes[HIK].IK;
    ASSERT_EQ(occasion.indexes[HIK].valid, 1);
    ExportSelection selection;
    selection.groups[EXPORT_INDEX] = true;
    const std::filesystem::path exported = place_->work().file("index.txt");
    TestOccasion exporting{};
    std::strcpy(exporting.NORMGRUPP, "Standardgrupp");
    ASSERT_EQ(writeExport(exported.string(), selection, exporting), ExportResult::Written);
    const std::string formerExport = readFile(exported);
    ASSERT_NE(formerExport.find("\t" + std::to_string(former) + "\t"), std::string::npos);

    ASSERT_EQ(place_->run("export-norms normer"), 0) << place_->errors();
    raiseIndexScores(place_->work().file("normer") / "INDEX_NORMER.csv");
    ASSERT_EQ(place_->run("import-norms normer"), 0) << place_->errors();

    // The print job of the results still on the screen.
    prepareForPrintJob(occasion);
    EXPECT_EQ(occasion.indexes[HIK].IK, former + 1);
    open();
    EXPECT_EQ(occasion.indexes[HIK].IK, former + 1);
    ASSERT_EQ(writeExport(exported.string(), selection, exporting), ExportResult::Written);
    const std::string newExport = readFile(exported);
    EXPECT_NE(newExport, formerExport);
    EXPECT_NE(newExport.find("\t" + std::to_string(former + 1) + "\t"), std::string::npos);
    DoDisconnect();
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
