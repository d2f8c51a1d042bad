// SPDX-License-Identifier: Apache-2.0
#include "child_run.h"
#include "db.h"
#include "demo_database.h"
#include "message_capture.h"
#include "norm_files.h"
#include "norm_tables.h"
#include "statement.h"
#include "subtest_table.h"
#include "temp_dir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string fileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct Outcome {
    int status = -1; // as waitpid gives it
    std::string out;
    std::string err;
    bool exitedWith(int code) const { return WIFEXITED(status) && WEXITSTATUS(status) == code; }
};

// Runs rivo-admin in dir; when killAfter is not negative, kills it that long after the start.
Outcome rivoAdmin(const fs::path& dir, const std::vector<std::string>& args,
                  std::chrono::microseconds killAfter = std::chrono::microseconds(-1)) {
    const fs::path out = dir.parent_path() / (dir.filename().string() + ".out");
    const fs::path err = dir.parent_path() / (dir.filename().string() + ".err");
    Outcome outcome;
    outcome.status = runInFolder(RIVO_ADMIN_PATH, dir, args, {}, out, err, killAfter);
    outcome.out = fileText(out);
    outcome.err = fileText(err);
    return outcome;
}

// Every stored value of the three tables, and the flag, as one text.
std::string storedNorms(const fs::path& database) {
    MessageCapture messages;
    EXPECT_EQ(DoConnect("", "", database.c_str()), 1);
    NormTables tables;
    EXPECT_EQ(DoReadNormTables(tables), DB_DONE);
    std::ostringstream text;
    text << (DoReadNormsSynthetic() ? "synthetic\n" : "imported\n");
    DoDisconnect();
    for (const NormGroupEntry& r : tables.groups) {
        text << r.normgrupp << '|' << r.delgrupp << '|' << r.sekvens << '|' << r.beskrivning << '|'
             << r.unreadable << '\n';
    }
    for (const NormEntry& r : tables.norms) {
        text << r.normgrupp << '|' << r.delskala << '|' << r.delgrupp << '|' << r.unreadable;
        for (const std::int32_t bound : r.S) {
            text << '|' << bound;
        }
        text << '\n';
    }
    for (const IndexNormEntry& r : tables.indexNorms) {
        text << r.normgrupp << '|' << r.index << '|' << r.skal << '|' << r.ik << '|'
             << floatText(r.perc) << '|' << r.konfLow90 << '|' << r.konfHigh90 << '|' << r.konfLow95
             << '|' << r.konfHigh95 << '|' << r.unreadable << '\n';
    }
    EXPECT_TRUE(messages.texts().empty());
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

std::string joinLines(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) {
        text += row + "\n";
    }
    return text;
}

// The number (from 1) of the line that starts with prefix.
int lineOf(const std::vector<std::string>& rows, const std::string& prefix) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].starts_with(prefix)) {
            return static_cast<int>(i) + 1;
        }
    }
    ADD_FAILURE() << "no line starts with " << prefix;
    return 0;
}

void setField(std::string& row, int column, const std::string& value) {
    std::vector<std::string> fields;
    std::istringstream in(row);
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field);
    }
    fields.at(static_cast<std::size_t>(column)) = value;
    row.clear();
    for (const std::string& field : fields) {
        row += (row.empty() ? "" : ",") + field;
    }
}

class NormCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        work_ = dir_.path() / "work";
        fs::create_directory(work_);
        database_ = work_ / kDatabaseFileName;
        std::string error;
        ASSERT_TRUE(createDemoDatabase(database_.string(), "psykolog", "demo123", error)) << error;
        storePerson();
        ASSERT_TRUE(rivoAdmin(work_, {"export-norms", "mall"}).exitedWith(0));
        template_ = work_ / "mall";
    }

    // A person with raw scores, which no norm command may touch; the first one is kept in
    // personId_.
    void storePerson(const char* name = "Kvar Orörd") {
        MessageCapture messages;
        ASSERT_EQ(DoConnect("", "", database_.c_str()), 1);
        TestOccasion occasion{};
        std::strcpy(occasion.person.NAMN, name);
        occasion.person.SEX = 2;
        occasion.person.BORNDATE = DateValue{1980, 5, 17};
        occasion.person.TESTDATE = DateValue{2011, 2, 13};
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
        for (int i = 0; i < kRawScoreCount; ++i) {
            occasion.RawScores[i] = kSubtests[i].formMax / 2;
        }
        // The total the form stores for the three digit-span parts.
        occasion.RawScores[RAW_SIFFERREPETITION] = occasion.RawScores[RAW_SRFRAM] +
                                                   occasion.RawScores[RAW_SRBAK] +
                                                   occasion.RawScores[RAW_SS];
        EXPECT_EQ(DoInsertPD(occasion.person), DB_DONE);
        EXPECT_EQ(DoInsertTD(occasion), DB_DONE);
        personId_ = personId_ == 0 ? occasion.person.ID : personId_;
        DoDisconnect();
    }

    void expectPersonKept() {
        MessageCapture messages;
        ASSERT_EQ(DoConnect("", "", database_.c_str()), 1);
        PersonRecord person{};
        EXPECT_EQ(DoReadPD(personId_, person), DB_DONE);
        EXPECT_STREQ(person.NAMN, "Kvar Orörd");
        TestOccasion occasion{};
        occasion.person.ID = personId_;
        EXPECT_EQ(DoReadTD(occasion), DB_DONE);
        EXPECT_EQ(occasion.RawScores[0], kSubtests[0].formMax / 2);
        DoDisconnect();
    }

    // A copy of the exported template in work/name, its files changed by edit.
    fs::path editedSet(const std::string& name,
                       const std::function<void(const fs::path&)>& edit = {}) {
        const fs::path folder = work_ / name;
        fs::copy(template_, folder);
        if (edit) {
            edit(folder);
        }
        return folder;
    }

    std::vector<fs::path> backups() const {
        std::vector<fs::path> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(work_)) {
            if (entry.path().filename().string().starts_with("DODODA-fore-normimport-")) {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    TempDir dir_;
    fs::path work_;
    fs::path database_;
    fs::path template_;
    std::int32_t personId_ = 0;
};

// Every VFI percentile set to a value no demonstration row has.
void markVfiPercentiles(const fs::path& folder) {
    const fs::path file = folder / "INDEX_NORMER.csv";
    std::vector<std::string> rows = lines(fileText(file));
    for (std::string& row : rows) {
        if (row.starts_with("Standardgrupp,VFI,")) {
            setField(row, 4, "42.25");
        }
    }
    writeText(file, joinLines(rows));
}

TEST_F(NormCommands, ExportThenImportLeavesTheTablesIdenticalAndTheDemonstrationNormsSynthetic) {
    const std::string before = storedNorms(database_);
    ASSERT_TRUE(before.starts_with("synthetic\n"));
    const Outcome imported = rivoAdmin(work_, {"import-norms", "mall"});
    ASSERT_TRUE(imported.exitedWith(0)) << imported.err;
    EXPECT_NE(imported.out.find("fortfarande inte för kliniskt bruk"), std::string::npos)
        << imported.out;
    const std::string after = storedNorms(database_);
    EXPECT_TRUE(after.starts_with("synthetic\n"));
    EXPECT_EQ(after.substr(after.find('\n')), before.substr(before.find('\n')));
    expectPersonKept();

    // The backup is the database as it was before.
    const std::vector<fs::path> copies = backups();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NE(imported.out.find(copies[0].filename().string()), std::string::npos);
    EXPECT_EQ(storedNorms(copies[0]), before);

    // Exported again, the files are the same bytes; check-norms agrees.
    ASSERT_TRUE(rivoAdmin(work_, {"export-norms", "igen"}).exitedWith(0));
    for (const char* file : {"NORMGRUPPER.csv", "NORMER.csv", "INDEX_NORMER.csv"}) {
        EXPECT_EQ(fileText(work_ / "igen" / file), fileText(template_ / file)) << file;
    }
    const Outcome checked = rivoAdmin(work_, {"check-norms"});
    EXPECT_TRUE(checked.exitedWith(0)) << checked.err;
    EXPECT_NE(checked.out.find("syntetiska demonstrationsnormer"), std::string::npos);
}

// The mark follows the tables imported: one value changed makes licensed norms, and the
// demonstration tables imported over them again are synthetic again.
TEST_F(NormCommands, OnlyTablesThatDifferFromTheDemonstrationNormsCountAsLicensed) {
    const auto checkSays = [this](const char* expected) {
        const Outcome checked = rivoAdmin(work_, {"check-norms"});
        EXPECT_TRUE(checked.exitedWith(0)) << checked.err;
        EXPECT_NE(checked.out.find(expected), std::string::npos) << checked.out;
    };
    const fs::path changed = editedSet("andrad", markVfiPercentiles);
    ASSERT_TRUE(rivoAdmin(work_, {"import-norms", changed.string()}).exitedWith(0));
    EXPECT_TRUE(storedNorms(database_).starts_with("imported\n"));
    checkSays("inlästa normer");
    const Outcome demo = rivoAdmin(work_, {"import-norms", "mall"});
    ASSERT_TRUE(demo.exitedWith(0)) << demo.err;
    EXPECT_TRUE(storedNorms(database_).starts_with("synthetic\n"));
    checkSays("syntetiska demonstrationsnormer");
}

TEST_F(NormCommands, OneBrokenRuleIsSaidInTheSingular) {
    {
        MessageCapture messages;
        ASSERT_EQ(DoConnect("", "", database_.c_str()), 1);
        {
            // Freed before the connection is: its handle goes with the connection.
            Statement statement;
            EXPECT_TRUE(statement.executeDirect("UPDATE NORMER SET S5 = 0 WHERE DELSKALA = "
                                                "'Blockmönster' AND DELGRUPP = '16-17 år'") &&
                        statement.commit());
        }
        DoDisconnect();
    }
    const Outcome outcome = rivoAdmin(work_, {"check-norms"});
    EXPECT_TRUE(outcome.exitedWith(1));
    EXPECT_NE(outcome.err.find("bryter mot 1 regel."), std::string::npos) << outcome.err;
}

TEST_F(NormCommands, ImportedNormsAreScoredAtOnceAndEachImportKeepsItsOwnBackup) {
    const std::string id = std::to_string(personId_);
    const Outcome demo = rivoAdmin(work_, {"report", "--id", id, "--json", "-"});
    ASSERT_TRUE(demo.exitedWith(0)) << demo.err;
    EXPECT_EQ(demo.out.find("42.25"), std::string::npos);
    ASSERT_TRUE(rivoAdmin(work_, {"import-norms", editedSet("ny", markVfiPercentiles).string()})
                    .exitedWith(0));
    const Outcome licensed = rivoAdmin(work_, {"report", "--id", id, "--json", "-"});
    ASSERT_TRUE(licensed.exitedWith(0)) << licensed.err;
    EXPECT_NE(licensed.out.find("42.25"), std::string::npos);
    // A second import in the same second does not replace the first one's backup.
    ASSERT_TRUE(rivoAdmin(work_, {"import-norms", "mall"}).exitedWith(0));
    ASSERT_TRUE(rivoAdmin(work_, {"import-norms", "mall"}).exitedWith(0));
    EXPECT_EQ(backups().size(), 3u);
}

struct Refusal {
    const char* name;
    const char* file;
    // Changes the file's lines and gives the message expected, with its line.
    std::function<std::string(std::vector<std::string>&)> edit;
};

const Refusal kRefusals[] = {
    {"falling bound", "NORMER.csv",
     [](std::vector<std::string>& rows) {
         const int line = lineOf(rows, "Standardgrupp,Blockmönster,16-17 år,");
         setField(rows[line - 1], 7, "0");
         return "NORMER.csv, rad " + std::to_string(line) + ": S5 (0) är lägre än S4";
     }},
    {"no norms where the scoring needs them", "NORMER.csv",
     [](std::vector<std::string>& rows) {
         const int line = lineOf(rows, "Standardgrupp,Likheter,70-74 år,");
         setField(rows[line - 1], 20, "-9");
         return "NORMER.csv, rad " + std::to_string(line) + ": S18 är -9 (inga normer)";
     }},
    {"missing subtest", "NORMER.csv",
     [](std::vector<std::string>& rows) {
         rows.erase(rows.begin() + lineOf(rows, "Standardgrupp,Likheter,20-24 år,") - 1);
         return std::string("NORMER.csv: raden för DELSKALA \"Likheter\" i DELGRUPP \"20-24 år\" "
                            "saknas");
     }},
    {"missing age band", "NORMGRUPPER.csv",
     [](std::vector<std::string>& rows) {
         rows.erase(rows.begin() + lineOf(rows, "Standardgrupp,45-54 år,") - 1);
         return std::string("NORMGRUPPER.csv: DELGRUPP \"45-54 år\" saknas");
     }},
    {"gap in SKAL", "INDEX_NORMER.csv",
     [](std::vector<std::string>& rows) {
         rows.erase(rows.begin() + lineOf(rows, "Standardgrupp,PFI,20,") - 1);
         return "INDEX_NORMER.csv, rad " + std::to_string(lineOf(rows, "Standardgrupp,PFI,21,")) +
                ": SKAL hoppar från 19 till 21";
     }},
    {"falling IK", "INDEX_NORMER.csv",
     [](std::vector<std::string>& rows) {
         const int line = lineOf(rows, "Standardgrupp,AI,30,");
         rows[line - 1] = "Standardgrupp,AI,30,60,0.4,60,60,60,60";
         return "INDEX_NORMER.csv, rad " + std::to_string(line) + ": IK (60) är lägre";
     }},
    {"percentile outside 0-100", "INDEX_NORMER.csv",
     [](std::vector<std::string>& rows) {
         const int line = lineOf(rows, "Standardgrupp,SI,10,");
         setField(rows[line - 1], 4, "100.5");
         return "INDEX_NORMER.csv, rad " + std::to_string(line) + ": PERC 100.5 ligger utanför";
     }},
    {"interval not enclosing IK", "INDEX_NORMER.csv",
     [](std::vector<std::string>& rows) {
         const int line = lineOf(rows, "Standardgrupp,HIK,100,");
         setField(rows[line - 1], 5, "999");
         return "INDEX_NORMER.csv, rad " + std::to_string(line) + ": 90 %-intervallet 999-";
     }},
    {"bands in another order", "NORMGRUPPER.csv",
     [](std::vector<std::string>& rows) {
         setField(rows[lineOf(rows, "Standardgrupp,25-29 år,") - 1], 2, "5");
         const int line = lineOf(rows, "Standardgrupp,30-34 år,");
         setField(rows[line - 1], 2, "4");
         return "NORMGRUPPER.csv, rad " + std::to_string(line) +
                ": SEKVENS ordnar inte DELGRUPP som programmet väntar sig";
     }},
    {"duplicate key", "NORMER.csv",
     [](std::vector<std::string>& rows) {
         const int first = lineOf(rows, "Standardgrupp,Bss,85-90 år,");
         rows.push_back(rows[first - 1]);
         return "NORMER.csv, rad " + std::to_string(rows.size()) +
                ": nyckeln (Standardgrupp, Bss, 85-90 år) finns två gånger, också på rad " +
                std::to_string(first);
     }},
    {"text in a number column", "NORMER.csv",
     [](std::vector<std::string>& rows) {
         const int line = lineOf(rows, "Standardgrupp,Kodning,35-44 år,");
         setField(rows[line - 1], 5, "tolv");
         return "NORMER.csv, rad " + std::to_string(line) + ": S3 är inte ett heltal: \"tolv\"";
     }},
    {"another encoding", "NORMGRUPPER.csv",
     [](std::vector<std::string>& rows) {
         for (std::string& row : rows) {
             for (std::size_t at; (at = row.find("\xC3\xA5")) != std::string::npos;) {
                 row.replace(at, 2, "\xE5"); // å in Latin-1
             }
         }
         return std::string("NORMGRUPPER.csv, rad 2: filen är inte UTF-8-kodad");
     }},
    {"wrong header", "INDEX_NORMER.csv",
     [](std::vector<std::string>& rows) {
         rows[0] = "NORMGRUPP,INDEX,SKAL,IK,PERC";
         return std::string("INDEX_NORMER.csv, rad 1: rubrikraden ska vara NORMGRUPP,INDEX,SKAL,"
                            "IK,PERC,KONF_LOW90,KONF_HIGH90,KONF_LOW95,KONF_HIGH95");
     }},
    {"a field too few", "NORMER.csv",
     [](std::vector<std::string>& rows) {
         rows[3] = rows[3].substr(0, rows[3].rfind(','));
         return std::string("NORMER.csv, rad 4: raden har 21 fält, ska ha 22");
     }},
};

TEST_F(NormCommands, EachRefusedSetIsNamedByFileLineAndRuleAndChangesNothing) {
    const std::string database = fileText(database_);
    int n = 0;
    for (const Refusal& refusal : kRefusals) {
        SCOPED_TRACE(refusal.name);
        std::string expected;
        const fs::path folder = editedSet("fel" + std::to_string(n++), [&](const fs::path& f) {
            std::vector<std::string> rows = lines(fileText(f / refusal.file));
            expected = refusal.edit(rows);
            writeText(f / refusal.file, joinLines(rows));
        });
        const Outcome outcome = rivoAdmin(work_, {"import-norms", folder.string()});
        EXPECT_TRUE(outcome.exitedWith(1));
        EXPECT_NE(outcome.err.find(expected + ""), std::string::npos)
            << "expected: " << expected << "\ngot:\n"
            << outcome.err;
        EXPECT_NE(outcome.err.find("databasen är oförändrad"), std::string::npos);
        EXPECT_EQ(fileText(database_), database);
    }
    EXPECT_TRUE(backups().empty());
}

TEST_F(NormCommands, ExportNeverOverwritesAFilledInSet) {
    const fs::path filled = template_ / "NORMER.csv";
    writeText(filled, "ifylld\n");
    const Outcome outcome = rivoAdmin(work_, {"export-norms", "mall"});
    EXPECT_TRUE(outcome.exitedWith(1));
    EXPECT_NE(outcome.err.find("finns redan"), std::string::npos) << outcome.err;
    EXPECT_EQ(fileText(filled), "ifylld\n");
}

TEST_F(NormCommands, CheckNormsNamesTheStoredRowsThatBreakARule) {
    EXPECT_TRUE(rivoAdmin(work_, {"check-norms"}).exitedWith(0));
    {
        MessageCapture messages;
        ASSERT_EQ(DoConnect("", "", database_.c_str()), 1);
        for (const char* sql :
             {"UPDATE NORMER SET S5 = 0 WHERE DELSKALA = 'Blockmönster' AND DELGRUPP = '16-17 år'",
              "UPDATE INDEX_NORMER SET IK = NULL WHERE \"INDEX\" = 'VFI' AND SKAL = 12",
              "UPDATE INDEX_NORMER SET KONF_HIGH95 = 'hög' WHERE \"INDEX\" = 'SI' AND SKAL = 5"}) {
            Statement statement;
            EXPECT_TRUE(statement.executeDirect(sql) && statement.commit()) << sql;
        }
        DoDisconnect();
    }
    const Outcome outcome = rivoAdmin(work_, {"check-norms"});
    EXPECT_TRUE(outcome.exitedWith(1));
    for (const char* expected :
         {"NORMER (Standardgrupp, Blockmönster, 16-17 år): S5 (0) är lägre än S4",
          "INDEX_NORMER (Standardgrupp, VFI, 12): IK saknar värde",
          "INDEX_NORMER (Standardgrupp, SI, 5): KONF_HIGH95 saknar värde"}) {
        EXPECT_NE(outcome.err.find(expected), std::string::npos) << expected << "\n" << outcome.err;
    }
}

// import-norms killed at many moments of its run, backup and transaction included: the database
// always holds either the old tables whole or the new ones whole, flag included.
TEST_F(NormCommands, KilledImportLeavesTheOldTablesWhole) {
    const fs::path incoming = editedSet("ny", markVfiPercentiles);
    const std::string old = storedNorms(database_);
    const fs::path pristine = dir_.path() / "pristine.db";
    fs::copy_file(database_, pristine);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(rivoAdmin(work_, {"import-norms", incoming.string()}).exitedWith(0));
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const std::string fresh = storedNorms(database_);
    ASSERT_NE(fresh, old);
    constexpr int kMoments = 24;
    int killed = 0;
    int keptOld = 0;
    int killedAfterBackup = 0; // killed between the backup and the end
    for (int moment = 0; moment < kMoments; ++moment) {
        // A journal left by the last kill has been rolled back by the read; none may meet the
        // fresh copy.
        fs::remove(work_ / "DODODA.db-journal");
        fs::copy_file(pristine, database_, fs::copy_options::overwrite_existing);
        const auto delay = whole * moment / (kMoments - 4);
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " us");
        const std::size_t backupsBefore = backups().size();
        const Outcome outcome = rivoAdmin(work_, {"import-norms", incoming.string()}, delay);
        killed += WIFSIGNALED(outcome.status) ? 1 : 0;
        killedAfterBackup +=
            WIFSIGNALED(outcome.status) && backups().size() > backupsBefore ? 1 : 0;
        const std::string now = storedNorms(database_);
        EXPECT_TRUE(now == old || now == fresh);
        keptOld += now == old ? 1 : 0;
        expectPersonKept();
    }
    EXPECT_GT(killed, 3);
    EXPECT_GT(keptOld, 3);
    EXPECT_GT(killedAfterBackup, 0); // some kills landed while the tables were being replaced
}

} // namespace

namespace {

// Hostile database contents through every headless output: each case damages the stored data one
// way, and every command must say so, exit with the status a clinic's script can trust, and never
// show a number that came from the damaged value.
TEST_F(NormCommands, EveryHeadlessOutputTellsWhatItCouldNotUse) {
    const fs::path pristine = work_ / "pristine.db";
    fs::copy_file(database_, pristine);
    const std::string id = std::to_string(personId_);
    enum Damage { Sql, Corrupt, Truncate };
    const struct {
        const char* name;
        Damage how;
        const char* sql;
        int exportStatus, jsonStatus, pdfStatus, checkStatus;
        const char* message;   // in every command's standard error that reports it
        const char* nullIndex; // an index whose IK the JSON must give as null
    } cases[] = {
        {"NULL percentile", Sql, "UPDATE INDEX_NORMER SET PERC = NULL WHERE \"INDEX\" = 'HIK'", 2,
         2, 2, 1, "PERC saknar värde", "HIK"},
        {"text score", Sql, "UPDATE INDEX_NORMER SET IK = 'x' WHERE \"INDEX\" = 'VFI'", 2, 2, 2, 1,
         "IK saknar värde", "VFI"},
        {"text SKAL", Sql, "UPDATE INDEX_NORMER SET SKAL = 'x' WHERE \"INDEX\" = 'AI' AND SKAL = 2",
         2, 2, 2, 1, "SKAL", "AI"},
        {"NULL bound", Sql, "UPDATE NORMER SET S1 = NULL WHERE DELSKALA = 'Likheter'", 2, 2, 2, 1,
         "S1 saknar värde", "VFI"},
        {"huge bound", Sql, "UPDATE NORMER SET S2 = 9000000000 WHERE DELSKALA = 'Kodning'", 2, 2, 2,
         1, "S2 saknar värde", "SI"},
        {"missing index rows", Sql, "DELETE FROM INDEX_NORMER WHERE \"INDEX\" = 'GAI'", 2, 2, 2, 1,
         "GAI", "GAI"},
        {"negative raw score", Sql, "UPDATE TESTDATA SET likheter = -3", 2, 2, 2, 0, "råpoängen -3",
         nullptr},
        {"sex 7", Sql, "UPDATE TESTPERSON SET SEX = 7", 2, 2, 2, 0, "kön (SEX) 7", nullptr},
        {"invalid UTF-8", Sql, "UPDATE TESTPERSON SET OTHER = CAST(X'41FF' AS TEXT)", 2, 2, 2, 0,
         "OTHER är inte giltig UTF-8", nullptr},
        {"digit-span total", Sql, "UPDATE TESTDATA SET sifferrepetition = 30", 2, 2, 2, 0,
         "Sifferrepetition har den sparade summan 30 men delarna Framlänges, Baklänges och "
         "Sekvensering ger 24",
         nullptr},
        {"corrupt file", Corrupt, nullptr, 1, 1, 1, 1, "", nullptr},
        {"truncated file", Truncate, nullptr, 1, 1, 1, 1, "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::copy_file(pristine, database_, fs::copy_options::overwrite_existing);
        if (c.how == Sql) {
            MessageCapture messages;
            ASSERT_EQ(DoConnect("", "", database_.c_str()), 1);
            {
                Statement statement;
                EXPECT_TRUE(statement.executeDirect(c.sql) && statement.commit()) << c.sql;
            }
            DoDisconnect();
        } else {
            const auto size = fs::file_size(database_);
            if (c.how == Truncate) {
                fs::resize_file(database_, size / 3);
            } else {
                std::fstream file(database_, std::ios::in | std::ios::out | std::ios::binary);
                file.seekp(static_cast<std::streamoff>(size / 2));
                file << std::string(8192, '\x5a');
            }
        }
        const Outcome exported = rivoAdmin(work_, {"export", "--groups", "0,1,2,3", "ut.txt"});
        const Outcome json = rivoAdmin(work_, {"report", "--all", "--json", "-"});
        const Outcome pdf = rivoAdmin(work_, {"report", "--id", id, "--pdf", "r.pdf"});
        const Outcome checked = rivoAdmin(work_, {"check-norms"});
        EXPECT_TRUE(exported.exitedWith(c.exportStatus)) << exported.status << exported.err;
        EXPECT_TRUE(json.exitedWith(c.jsonStatus)) << json.status << json.err;
        EXPECT_TRUE(pdf.exitedWith(c.pdfStatus)) << pdf.status << pdf.err;
        EXPECT_TRUE(checked.exitedWith(c.checkStatus)) << checked.status << checked.err;
        for (const Outcome* warned : {&exported, &json, &pdf}) {
            if (warned->exitedWith(2)) {
                EXPECT_NE(warned->err.find(c.message), std::string::npos) << warned->err;
                // Each output names the person the message is about.
                EXPECT_NE(warned->err.find("ID " + id), std::string::npos) << warned->err;
            }
        }
        if (c.checkStatus == 1 && c.how == Sql) {
            EXPECT_NE(checked.err.find(c.message), std::string::npos) << checked.err;
        }
        if (c.jsonStatus == 1) {
            continue;
        }
        const QJsonObject report =
            QJsonDocument::fromJson(
                QByteArray::fromStdString(json.out.substr(0, json.out.find('\n'))))
                .object();
        EXPECT_FALSE(report["messages"].toArray().isEmpty());
        if (c.nullIndex != nullptr) {
            const QJsonObject index = report["indexes"][c.nullIndex].toObject();
            EXPECT_TRUE(index["IK"].isNull()) << c.nullIndex;
            EXPECT_TRUE(index["PERC"].isNull());
            EXPECT_EQ(report["indexTable"]["rows"][0]["key"].toString(), "VFI");
        }
    }
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Norm tables that break a rule of check-norms: every headless output names the rule, the table
// and the row once for the run, however many persons it holds, writes its file and exits 2, and
// each person's JSON carries the message. Tables that keep every rule give no such word.
TEST_F(NormCommands, BrokenNormRulesAreSaidOncePerRunByEveryHeadlessOutput) {
    storePerson("Andra Person");
    const fs::path pristine = work_ / "pristine.db";
    fs::copy_file(database_, pristine);
    const struct {
        const char* name;
        const char* sql;
        const char* finding; // as check-norms names it; null when every rule is kept
    } cases[] = {
        {"demonstration norms", nullptr, nullptr},
        {"falling bound",
         "UPDATE NORMER SET S5 = 0 WHERE DELSKALA = 'Blockmönster' AND DELGRUPP = '16-17 år'",
         "NORMER (Standardgrupp, Blockmönster, 16-17 år): S5 (0) är lägre än S4"},
        {"negative bound",
         "UPDATE NORMER SET S1 = -2 WHERE DELSKALA = 'Likheter' AND DELGRUPP = '30-34 år'",
         "NORMER (Standardgrupp, Likheter, 30-34 år): S1 (-2) är negativ"},
        {"missing band", "DELETE FROM NORMGRUPPER WHERE DELGRUPP = '45-54 år'",
         "NORMGRUPPER: DELGRUPP \"45-54 år\" saknas"},
        {"NULL description",
         "UPDATE NORMGRUPPER SET BESKRIVNING = NULL WHERE DELGRUPP = '65-69 år'",
         "NORMGRUPPER (Standardgrupp, 65-69 år): BESKRIVNING saknar värde"},
        {"percentile 250",
         "UPDATE INDEX_NORMER SET PERC = 250 WHERE \"INDEX\" = 'SI' AND SKAL = 10",
         "INDEX_NORMER (Standardgrupp, SI, 10): PERC 250 ligger utanför 0-100"},
    };
    const char* const written[] = {"ut.txt", "ut.jsonl", "r.pdf"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::copy_file(pristine, database_, fs::copy_options::overwrite_existing);
        for (const char* file : written) {
            fs::remove(work_ / file);
        }
        if (c.sql != nullptr) {
            MessageCapture messages;
            ASSERT_EQ(DoConnect("", "", database_.c_str()), 1);
            {
                Statement statement;
                EXPECT_TRUE(statement.executeDirect(c.sql) && statement.commit()) << c.sql;
            }
            DoDisconnect();
        }
        const Outcome checked = rivoAdmin(work_, {"check-norms"});
        const Outcome outcomes[] = {
            rivoAdmin(work_, {"export", "--groups", "0,1,2,3", "ut.txt"}),
            rivoAdmin(work_, {"report", "--all", "--json", "ut.jsonl"}),
            rivoAdmin(work_, {"report", "--id", std::to_string(personId_), "--pdf", "r.pdf"}),
        };
        for (const char* file : written) {
            EXPECT_TRUE(fs::exists(work_ / file)) << file;
        }
        const std::vector<std::string> reports = lines(fileText(work_ / "ut.jsonl"));
        ASSERT_EQ(reports.size(), 2u);
        if (c.finding == nullptr) {
            EXPECT_TRUE(checked.exitedWith(0)) << checked.err;
            for (const Outcome& outcome : outcomes) {
                EXPECT_TRUE(outcome.exitedWith(0)) << outcome.err;
                EXPECT_EQ(outcome.err.find("Normtabellerna"), std::string::npos) << outcome.err;
            }
            for (const std::string& report : reports) {
                EXPECT_NE(report.find("\"messages\":[]"), std::string::npos) << report;
            }
            continue;
        }
        EXPECT_TRUE(checked.exitedWith(1));
        EXPECT_NE(checked.err.find(c.finding), std::string::npos) << checked.err;
        for (const Outcome& outcome : outcomes) {
            EXPECT_TRUE(outcome.exitedWith(2)) << outcome.err;
            EXPECT_EQ(occurrences(outcome.err, c.finding), 1u) << outcome.err;
        }
        for (const std::string& report : reports) {
            const QJsonArray messages =
                QJsonDocument::fromJson(QByteArray::fromStdString(report))["messages"].toArray();
            ASSERT_EQ(messages.size(), 1) << report;
            EXPECT_NE(messages[0].toString().toStdString().find(c.finding), std::string::npos);
        }
    }
}

} // namespace
