// SPDX-License-Identifier: Apache-2.0
// rivo-admin backup and restore as a clinic runs them, on real registers under umask 000: what is
// restored equals what was backed up row for row, every refusal leaves the register as it was,
// and a restore killed at any moment leaves a sound register, the old or the new.

#include "child_run.h"
#include "db.h"
#include "instance_lock.h"
#include "message_box.h"
#include "raw_files.h"
#include "register_lock.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& bytes, mode_t mode = 0600) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    fchmod(fd, mode);
    close(fd);
}

// Every row of every table, as sorted text lines: the register's whole content.
std::vector<std::string> rows(const fs::path& database) {
    std::vector<std::string> result;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {"unreadable"};
    }
    std::vector<std::string> tables;
    sqlite3_exec(
        db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
        [](void* names, int, char** values, char**) {
            static_cast<std::vector<std::string>*>(names)->push_back(values[0]);
            return 0;
        },
        &tables, nullptr);
    for (const std::string& table : tables) {
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM \"" + table + "\"").c_str(), -1, &query, nullptr);
        while (sqlite3_step(query) == SQLITE_ROW) {
            std::string line = table;
            for (int i = 0; i < sqlite3_column_count(query); ++i) {
                const unsigned char* value = sqlite3_column_text(query, i);
                line += "|" + (value != nullptr ? std::string(reinterpret_cast<const char*>(value))
                                                : std::string("NULL"));
            }
            result.push_back(line);
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
    std::sort(result.begin(), result.end());
    return result;
}

// The register's content without its access log, which every backup and restore extends.
std::vector<std::string> rowsBesideTheLog(const fs::path& database) {
    std::vector<std::string> result = rows(database);
    std::erase_if(result, [](const std::string& row) { return row.starts_with("ATKOMSTLOGG"); });
    return result;
}

// The access log's events, oldest first.
std::vector<std::string> loggedEvents(const fs::path& database) {
    std::vector<std::string> events;
    for (const std::string& row : rows(database)) {
        if (row.starts_with("ATKOMSTLOGG|")) {
            events.push_back(row);
        }
    }
    // Rows sort by their text; SEKVENS is the first column, so order them by its number.
    std::sort(events.begin(), events.end(), [](const std::string& a, const std::string& b) {
        return std::stoi(a.substr(12)) < std::stoi(b.substr(12));
    });
    return events;
}

std::string integrity(const fs::path& database) {
    std::string verdict = "unopened";
    sqlite3* db = nullptr;
    // Opened for writing, as the program opens it: a kill inside a transaction leaves a journal
    // that the next opener rolls back.
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, "PRAGMA integrity_check",
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = values[0] != nullptr ? values[0] : "";
                return 0;
            },
            &verdict, nullptr);
    }
    sqlite3_close(db);
    return verdict;
}

struct Outcome {
    int code = -1; // -1 when killed
    std::string out;
};

class BackupRestore : public ::testing::Test {
  protected:
    void SetUp() override {
        previousMask_ = umask(0);
        fs::create_directories(work_);
        fs::create_directories(dir_.path() / "run");
        fs::create_directories(dir_.path() / "config");
        // The program's lock and settings of the test's own, never those of the user.
        setenv("XDG_RUNTIME_DIR", (dir_.path() / "run").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_.path() / "config").c_str(), 1);
        ASSERT_EQ(admin({"init-db", "--user", "psykolog", "--password-stdin"}, "demo123\n").code,
                  0);
        addPersons(register_(), 1, 40);
        writeFile(work_ / "fras", "en lång lösenfras\n");
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("XDG_CONFIG_HOME");
        umask(previousMask_);
    }

    fs::path register_() const { return work_ / kDatabaseFileName; }

    static void addPersons(const fs::path& database, int first, int count) {
        std::string text = "BEGIN;";
        for (int id = first; id < first + count; ++id) {
            const std::string n = std::to_string(id);
            text +=
                "INSERT INTO TESTPERSON (ID, NAMN, SEX, TESTDATE, BORNDATE, OTHER) VALUES (" + n +
                ", 'Person Åström " + n + "', " + std::to_string(1 + id % 2) + ", '2026-03-0" +
                std::to_string(1 + id % 9) + "', '1980-01-01', NULL);" +
                "INSERT INTO TESTDATA (PERSONALDATA_ID, TD_TESTDATE, blockmonster, BUT) VALUES (" +
                n + ", '2026-03-01', " + std::to_string(id % 60) + ", -9);";
        }
        sql(database,
            text + "UPDATE NAMEID SET IDNOW = " + std::to_string(first + count) + "; COMMIT;");
    }

    // Runs rivo-admin in the clinic's folder with input on standard input; killed after
    // killAfter when that is given.
    Outcome admin(const std::vector<std::string>& args, const std::string& input = "",
                  std::chrono::microseconds killAfter = std::chrono::microseconds(-1)) {
        const fs::path in = dir_.path() / "stdin";
        const fs::path out = dir_.path() / "output";
        writeFile(in, input);
        const int status = runInFolder(RIVO_ADMIN_PATH, work_, args, in, out, out, killAfter);
        return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileBytes(out)};
    }

    // The names in the clinic's folder, sorted.
    std::vector<std::string> folderNames(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void expectAllPrivate() const {
        for (const auto& entry : fs::recursive_directory_iterator(work_)) {
            struct stat info {};
            ASSERT_EQ(lstat(entry.path().c_str(), &info), 0);
            if (S_ISREG(info.st_mode)) {
                EXPECT_EQ(info.st_mode & 0777u, 0600u) << entry.path();
            }
        }
    }

    TempDir dir_;
    fs::path work_ = dir_.path() / "klinik";
    mode_t previousMask_ = 0;
};

TEST_F(BackupRestore, RestoredRegisterEqualsTheCopyRowForRow) {
    const struct {
        const char* name;
        std::vector<std::string> backupArgs;
    } cases[] = {
        {"kopia.db", {"backup", "kopia.db"}},
        {"kopia.db.krypterad",
         {"backup", "--encrypt", "--passphrase-file", "fras", "kopia.db.krypterad"}},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> original = rowsBesideTheLog(register_());
        const Outcome backup = admin(c.backupArgs);
        ASSERT_EQ(backup.code, 0) << backup.out;
        if (c.backupArgs[1] == "--encrypt") {
            // Nothing of the register can be read in the encrypted file.
            EXPECT_EQ(fileBytes(work_ / c.name).find("Åström"), std::string::npos);
            EXPECT_EQ(fileBytes(work_ / c.name).find("SQLite format"), std::string::npos);
        }
        sql(register_(), "DELETE FROM TESTPERSON WHERE ID = 3; UPDATE TESTPERSON SET NAMN = "
                         "'Ändrad' WHERE ID = 4; DELETE FROM TESTDATA WHERE PERSONALDATA_ID = 5;");
        addPersons(register_(), 100, 2);
        const std::vector<std::string> changed = rowsBesideTheLog(register_());
        ASSERT_NE(changed, original);
        // The backup's row was written before the copy was made.
        ASSERT_FALSE(loggedEvents(register_()).empty());
        EXPECT_NE(loggedEvents(register_()).back().find("|backup|"), std::string::npos);

        const Outcome restore = admin({"restore", c.name, "--passphrase-file", "fras"});
        ASSERT_EQ(restore.code, 0) << restore.out;
        EXPECT_NE(restore.out.find("40 testpersoner"), std::string::npos) << restore.out;
        EXPECT_EQ(rowsBesideTheLog(register_()), original) << c.name;
        // The restored register holds the copy's own backup row, then the restore's.
        const std::vector<std::string> events = loggedEvents(register_());
        ASSERT_GE(events.size(), 2u);
        EXPECT_NE(events[events.size() - 2].find("|backup|"), std::string::npos);
        EXPECT_NE(events.back().find("|restored|"), std::string::npos) << events.back();
        EXPECT_EQ(integrity(register_()), "ok");
        // The register that was replaced is kept beside it.
        const std::size_t at = restore.out.find("DODODA-fore-aterstallning-");
        ASSERT_NE(at, std::string::npos) << restore.out;
        const std::string kept = restore.out.substr(at, restore.out.find(".db", at) + 3 - at);
        EXPECT_EQ(rowsBesideTheLog(work_ / kept), changed) << kept;
        fs::remove(work_ / kept);
    }
    expectAllPrivate();
}

TEST_F(BackupRestore, ARefusedRestoreChangesNothing) {
    ASSERT_EQ(admin({"backup", "kopia.db"}).code, 0);
    ASSERT_EQ(admin({"backup", "--encrypt", "--passphrase-file", "fras", "krypterad"}).code, 0);
    const std::string plain = fileBytes(work_ / "kopia.db");
    const std::string sealed = fileBytes(work_ / "krypterad");
    const auto damagedPlain = [&](const std::string& change) {
        writeFile(work_ / "trasig.db", plain);
        sql(work_ / "trasig.db", change);
        return std::string("trasig.db");
    };
    std::string flipped = sealed;
    flipped[sealed.size() / 2] = static_cast<char>(flipped[sealed.size() / 2] ^ 0x10);

    enum class Other { None, ProgramOpen, RegisterBusy, OnServer };
    const struct {
        const char* what;
        std::function<std::string()> copy; // writes the copy, gives its name
        const char* passphrase;
        Other other;
        const char* says;
    } cases[] = {
        {"wrong passphrase", [] { return std::string("krypterad"); }, "en annan lösenfras",
         Other::None, "lösenfrasen är fel"},
        {"flipped byte",
         [&] {
             writeFile(work_ / "trasig", flipped);
             return std::string("trasig");
         },
         "en lång lösenfras", Other::None, "skadad"},
        {"truncated encrypted",
         [&] {
             writeFile(work_ / "trasig", sealed.substr(0, sealed.size() - 20));
             return std::string("trasig");
         },
         "en lång lösenfras", Other::None, "Kopian"},
        {"truncated plain",
         [&] {
             writeFile(work_ / "trasig.db", plain.substr(0, plain.size() / 2));
             return std::string("trasig.db");
         },
         "", Other::None, "Kopian"},
        {"no register at all",
         [&] {
             writeFile(work_ / "anteckning.txt", "inte en databas");
             return std::string("anteckning.txt");
         },
         "", Other::None, "ingen säkerhetskopia"},
        {"column missing", [&] { return damagedPlain("ALTER TABLE TESTDATA DROP COLUMN BSS"); }, "",
         Other::None, "kolumnen BSS i tabellen TESTDATA"},
        {"table missing", [&] { return damagedPlain("DROP TABLE SEC"); }, "", Other::None,
         "tabellen SEC"},
        {"norm source missing", [&] { return damagedPlain("DELETE FROM NORMKALLA"); }, "",
         Other::None, "NORMKALLA"},
        {"program open", [] { return std::string("kopia.db"); }, "", Other::ProgramOpen,
         "har registret öppet"},
        {"register busy", [] { return std::string("kopia.db"); }, "", Other::RegisterBusy,
         kDatabaseLockedMessage},
        {"register on a server", [] { return std::string("kopia.db"); }, "", Other::OnServer,
         "pg_restore"},
    };
    sql(register_(), "UPDATE TESTPERSON SET NAMN = 'Efter kopian' WHERE ID = 1");
    const std::string before = fileBytes(register_());
    for (const auto& c : cases) {
        const std::string copy = c.copy();
        writeFile(work_ / "fras2", std::string(c.passphrase) + "\n");
        const std::vector<std::string> names = folderNames(work_);
        std::string lockError;
        if (c.other == Other::ProgramOpen) {
            ASSERT_TRUE(holdRegisterLock(work_.string(), RegisterLockMode::Shared, lockError))
                << lockError;
        }
        sqlite3* other = nullptr;
        if (c.other == Other::RegisterBusy) {
            ASSERT_EQ(sqlite3_open(register_().c_str(), &other), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        const fs::path settings = dir_.path() / "config" / "RIVO-IV" / "datakalla.ini";
        if (c.other == Other::OnServer) {
            fs::create_directories(settings.parent_path());
            writeFile(settings, "ODBC=DSN=rivo\n");
        }
        const Outcome restore = admin({"restore", copy, "--passphrase-file", "fras2"});
        releaseRegisterLock();
        sqlite3_close(other);
        fs::remove(settings);

        EXPECT_EQ(restore.code, 1) << c.what << ": " << restore.out;
        EXPECT_NE(restore.out.find(c.says), std::string::npos) << c.what << ": " << restore.out;
        EXPECT_NE(restore.out.find("Registret är oförändrat."), std::string::npos) << c.what;
        EXPECT_EQ(fileBytes(register_()), before) << c.what;
        EXPECT_EQ(folderNames(work_), names) << c.what; // no kept copy, no temporary left
    }
    expectAllPrivate();
}

TEST_F(BackupRestore, BadBackupRequestsWriteNothing) {
    const struct {
        const char* what;
        std::vector<std::string> args;
        mode_t passphraseMode;
        const char* typed;
        const char* says;
    } cases[] = {
        {"group may read",
         {"--encrypt", "--passphrase-file", "fras3", "ut.db"},
         0640,
         "",
         "bara kunna läsas av sin ägare"},
        {"others may read",
         {"--encrypt", "--passphrase-file", "fras3", "ut.db"},
         0604,
         "",
         "bara kunna läsas av sin ägare"},
        {"others may write",
         {"--encrypt", "--passphrase-file", "fras3", "ut.db"},
         0602,
         "",
         "bara kunna läsas av sin ägare"},
        {"typed twice differently",
         {"--encrypt", "ut.db"},
         0600,
         "en lång lösenfras\nen annan lösenfras\n",
         "inte lika"},
        {"too short", {"--encrypt", "ut.db"}, 0600, "kort\nkort\n", "minst 10 tecken"},
        {"keep zero", {"--folder", ".", "--keep", "0"}, 0600, "", "--keep"},
        {"keep without folder", {"--keep", "3", "ut.db"}, 0600, "", "--keep"},
        {"passphrase without encryption",
         {"--passphrase-file", "fras3", "ut.db"},
         0600,
         "",
         "--encrypt"},
        {"file and folder", {"--folder", ".", "ut.db"}, 0600, "", "antingen"},
    };
    for (const auto& c : cases) {
        writeFile(work_ / "fras3", "en lång lösenfras\n", c.passphraseMode);
        const std::vector<std::string> names = folderNames(work_);
        std::vector<std::string> args{"backup"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome backup = admin(args, c.typed);
        EXPECT_EQ(backup.code, 1) << c.what << ": " << backup.out;
        EXPECT_NE(backup.out.find(c.says), std::string::npos) << c.what << ": " << backup.out;
        EXPECT_EQ(folderNames(work_), names) << c.what;
    }
    // Typed twice alike, the same passphrase opens the copy.
    ASSERT_EQ(
        admin({"backup", "--encrypt", "ut.db"}, "en lång lösenfras\nen lång lösenfras\n").code, 0);
    const Outcome restore = admin({"restore", "ut.db"}, "en lång lösenfras\n");
    EXPECT_EQ(restore.code, 0) << restore.out;
}

TEST_F(BackupRestore, AFolderKeepsTheNewestCopiesAndNothingElseIsTouched) {
    const fs::path folder = dir_.path() / "kopior";
    fs::create_directories(folder);
    writeFile(folder / "DODODA-anteckningar.txt", "egen fil");
    writeFile(folder / "DODODA-2020-01-01T0000.db.gammal", "egen fil");
    std::vector<std::string> written;
    for (int run = 0; run < 5; ++run) {
        std::vector<std::string> args{"backup", "--folder", folder.string(), "--keep", "3"};
        if (run % 2 == 1) {
            args.insert(args.end(), {"--encrypt", "--passphrase-file", "fras"});
        }
        const Outcome backup = admin(args);
        ASSERT_EQ(backup.code, 0) << backup.out;
        const std::size_t at = backup.out.find(folder.string());
        ASSERT_NE(at, std::string::npos) << backup.out;
        written.push_back(
            fs::path(backup.out.substr(at, backup.out.find('\n', at) - at)).filename().string());
        EXPECT_TRUE(written.back().starts_with("DODODA-20")) << written.back();
    }
    std::vector<std::string> expected{written[2], written[3], written[4],
                                      "DODODA-2020-01-01T0000.db.gammal",
                                      "DODODA-anteckningar.txt"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderNames(folder), expected);
    EXPECT_TRUE(written[3].ends_with(".db.krypterad")) << written[3];
}

// SIGKILL at moments spread over the length of a restore: afterwards the register passes SQLite's
// integrity check and holds exactly the old rows or exactly the copy's.
TEST_F(BackupRestore, ARestoreKilledAnywhereLeavesTheOldOrTheNewRegister) {
    addPersons(register_(), 1000, 3000); // a register large enough for the kills to land inside
    ASSERT_EQ(admin({"backup", "kopia.db"}).code, 0);
    // The log is left out: a restore killed after its rename may lack only its own log row.
    const std::vector<std::string> copied = rowsBesideTheLog(register_());
    sql(register_(), "DELETE FROM TESTPERSON WHERE ID > 2000");
    const std::vector<std::string> old = rowsBesideTheLog(register_());
    const std::string oldBytes = fileBytes(register_());

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(admin({"restore", "kopia.db"}).code, 0);
    const auto length = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    std::mt19937 random(20261207);
    std::uniform_int_distribution<long> moment(0, length.count() * 2);
    int endedOld = 0;
    int endedNew = 0;
    constexpr int kKills = 36;
    for (int kill = 0; kill < kKills; ++kill) {
        // The register and its companions together: a journal is the old file's or none.
        fs::remove(work_ / (std::string(kDatabaseFileName) + "-journal"));
        writeFile(register_(), oldBytes);
        admin({"restore", "kopia.db"}, "", std::chrono::microseconds(moment(random)));
        ASSERT_EQ(integrity(register_()), "ok") << "kill " << kill;
        const std::vector<std::string> now = rowsBesideTheLog(register_());
        ASSERT_TRUE(now == old || now == copied) << "kill " << kill;
        (now == old ? endedOld : endedNew) += 1;
        expectAllPrivate();
    }
    RecordProperty("ended_old", endedOld);
    RecordProperty("ended_new", endedNew);
    // The moments spread over the whole run: some kills came before the rename, some after.
    EXPECT_GT(endedOld, 0);
    EXPECT_GT(endedNew, 0);
    // What killed runs left beside the register is cleared by the next restore.
    ASSERT_EQ(admin({"restore", "kopia.db"}).code, 0);
    for (const std::string& name : folderNames(work_)) {
        EXPECT_EQ(name.find(".DODODA.db.rivo-tmp-"), std::string::npos) << name;
    }
}

// Copies that are whole SQLite files yet no sound register of this program: each is refused with
// a message naming what is wrong, and the register stays byte for byte as it was.
TEST_F(BackupRestore, AHostileOrBrokenCopyIsRefusedNamingEachFinding) {
    ASSERT_EQ(admin({"backup", "kopia.db"}).code, 0);
    const std::string copy = fileBytes(work_ / "kopia.db");
    const auto changed = [&](const std::string& change) {
        writeFile(work_ / "fientlig.db", copy);
        sql(work_ / "fientlig.db", change);
    };
    const struct {
        const char* what;
        std::function<void()> make;
        std::vector<const char*> says; // one line each
    } cases[] = {
        {"a trigger that lets a user in",
         [&] {
             changed("CREATE TRIGGER bakdorr AFTER INSERT ON ATKOMSTLOGG BEGIN INSERT OR IGNORE "
                     "INTO SEC SELECT 'bakdorr', PASSWORD FROM SEC LIMIT 1; END");
         },
         {"Kopian har utlösaren (trigger) bakdorr, som inte hör till registret."}},
        {"a trigger that zeroes a raw score",
         [&] {
             changed("CREATE TRIGGER nolla AFTER UPDATE ON TESTDATA BEGIN UPDATE TESTDATA SET "
                     "BUT = 0 WHERE PERSONALDATA_ID = NEW.PERSONALDATA_ID; END");
         },
         {"Kopian har utlösaren (trigger) nolla, som inte hör till registret."}},
        {"an extra view",
         [&] { changed("CREATE VIEW alla AS SELECT NAMN FROM TESTPERSON"); },
         {"Kopian har vyn alla, som inte hör till registret."}},
        {"a view in place of a table",
         [&] {
             changed("ALTER TABLE NORMER RENAME TO GAMLA; DROP INDEX NORMER_KEY; CREATE VIEW "
                     "NORMER AS SELECT * FROM GAMLA");
         },
         {"I kopian är NORMER en vy och inte en tabell.", "Kopian saknar indexet NORMER_KEY.",
          "Kopian har tabellen GAMLA, som inte hör till registret."}},
        {"a missing index",
         [&] { changed("DROP INDEX NORMGRUPPER_KEY"); },
         {"Kopian saknar indexet NORMGRUPPER_KEY."}},
        {"a changed column",
         [&] {
             changed("DROP TABLE NAMEID; CREATE TABLE NAMEID (RECNO INTEGER NOT NULL PRIMARY KEY, "
                     "IDNOW TEXT); INSERT INTO NAMEID VALUES (1, 41)");
         },
         {"Kolumnen IDNOW i tabellen NAMEID är definierad på ett annat sätt i kopian"}},
        {"a renamed column",
         [&] { changed("ALTER TABLE TESTPERSON RENAME COLUMN OTHER TO ANNAT"); },
         {"Kopian saknar kolumnen OTHER i tabellen TESTPERSON.",
          "Kopian har kolumnen ANNAT i tabellen TESTPERSON, som inte hör till registret."}},
        {"a row added to the log behind the program's back",
         [&] {
             changed("INSERT INTO ATKOMSTLOGG SELECT MAX(SEKVENS) + 1, TID, ANVANDARE, "
                     "ARBETSSTATION, PROGRAM, 'login', NULL, '', HASH FROM ATKOMSTLOGG");
         },
         {"Kopians åtkomstlogg håller inte"}},
        {"norms that break a rule",
         [&] { changed("UPDATE NORMER SET S10 = 99 WHERE rowid = 1"); },
         {"Kopians normtabeller: NORMER ("}},
        {"a damaged page",
         [&] {
             std::string damaged = copy;
             const std::size_t page = 4096 * 3;
             damaged.replace(page, 200, std::string(200, '\xee'));
             writeFile(work_ / "fientlig.db", damaged);
         },
         {"Kopian är skadad (SQLite:s integritetskontroll:"}},
        {"a newer schema",
         [&] {
             changed("PRAGMA user_version = 3; CREATE TABLE SVAR (ID INTEGER, TEXT VARCHAR(9))");
         },
         {"Kopian har schemaversion 3", "Kopian har tabellen SVAR, som inte hör till registret."}},
    };
    const std::string before = fileBytes(register_());
    for (const auto& c : cases) {
        c.make();
        const std::vector<std::string> names = folderNames(work_);
        const Outcome restore = admin({"restore", "fientlig.db"});
        EXPECT_EQ(restore.code, 1) << c.what << ": " << restore.out;
        for (const char* says : c.says) {
            EXPECT_NE(restore.out.find(std::string("\n  ") + says), std::string::npos)
                << c.what << ": " << restore.out;
        }
        EXPECT_NE(restore.out.find("Registret är oförändrat."), std::string::npos) << c.what;
        EXPECT_EQ(fileBytes(register_()), before) << c.what;
        EXPECT_EQ(folderNames(work_), names) << c.what;
    }
}

// A copy from before the access log, or from before the failed logins were kept, is restored and
// upgraded as upgrade-db would: its rows come back, the tables it lacked are there, and the chain
// holds, with the restore's own row (the first when the copy had no log) reported as a reset that
// names the head it replaced.
TEST_F(BackupRestore, ACopyOfAnOlderSchemaIsRestoredAndUpgraded) {
    const struct {
        const char* what;
        const char* makeOlder;
        bool hadLog;
    } older[] = {
        {"before the log",
         "DROP TABLE ATKOMSTLOGG; DROP TABLE ATKOMSTLOGG_HUVUD; DROP TABLE INLOGGNINGSFORSOK; "
         "VACUUM",
         false},
        {"before the failed logins", "DROP TABLE INLOGGNINGSFORSOK; VACUUM", true},
    };
    for (const auto& c : older) {
        ASSERT_EQ(admin({"backup", "kopia.db"}).code, 0) << c.what;
        sql(work_ / "kopia.db", c.makeOlder);
        const std::vector<std::string> copied = rowsBesideTheLog(work_ / "kopia.db");
        sql(register_(), "DELETE FROM TESTPERSON WHERE ID < 10");

        const Outcome restore = admin({"restore", "kopia.db"});
        ASSERT_EQ(restore.code, 0) << c.what << ": " << restore.out;
        EXPECT_EQ(restore.out.find("upgrade-db") != std::string::npos, !c.hadLog) << restore.out;
        EXPECT_EQ(rowsBesideTheLog(register_()), copied) << c.what;
        sql(register_(), "SELECT ANTAL FROM INLOGGNINGSFORSOK");
        const std::vector<std::string> events = loggedEvents(register_());
        ASSERT_FALSE(events.empty()) << c.what;
        if (!c.hadLog) {
            ASSERT_EQ(events.size(), 1u);
            EXPECT_TRUE(events[0].starts_with("ATKOMSTLOGG|1|")) << events[0];
        }
        EXPECT_NE(events.back().find("|restored|"), std::string::npos) << events.back();
        const Outcome verified = admin({"log", "verify"});
        EXPECT_EQ(verified.code, 1) << c.what << ": " << verified.out;
        EXPECT_NE(verified.out.find("Kedjan håller"), std::string::npos) << verified.out;
        EXPECT_NE(verified.out.find(": registret återställdes"), std::string::npos) << verified.out;
        EXPECT_NE(verified.out.find("slutade vid rad "), std::string::npos) << verified.out;
        fs::remove(work_ / "kopia.db");
    }
}

// Leaves a hot journal beside database: a child begins a change that frees pages (so that page 1
// is in the journal), lets the cache spill into the file and dies without committing.
void leaveHotJournal(const fs::path& database) {
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(database.c_str(), &db);
        sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN; DELETE FROM TESTDATA;", nullptr, nullptr,
                     nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(fs::exists(database.string() + "-journal"));
}

// A journal beside the register: one of its own change is rolled back by the restore itself (the
// kept register is the one before that change); one that cannot be the register's is named, and
// nothing is touched.
TEST_F(BackupRestore, AJournalOfTheRegisterIsRolledBackAndAForeignOneIsNamed) {
    addPersons(register_(), 1000, 2000);
    ASSERT_EQ(admin({"backup", "kopia.db"}).code, 0);
    const std::vector<std::string> old = rowsBesideTheLog(register_());
    const std::string journal = register_().string() + "-journal";

    leaveHotJournal(register_());
    const Outcome restore = admin({"restore", "kopia.db"});
    ASSERT_EQ(restore.code, 0) << restore.out;
    const std::size_t at = restore.out.find("DODODA-fore-aterstallning-");
    ASSERT_NE(at, std::string::npos) << restore.out;
    const fs::path kept = work_ / restore.out.substr(at, restore.out.find(".db", at) + 3 - at);
    EXPECT_EQ(integrity(kept), "ok");
    EXPECT_EQ(rowsBesideTheLog(kept), old);
    EXPECT_FALSE(fs::exists(journal));

    // The same kind of journal beside another file: a register made long before.
    leaveHotJournal(register_());
    const std::string other = fileBytes(work_ / "kopia.db");
    writeFile(register_(), other);
    const Outcome refused = admin({"restore", "kopia.db"});
    EXPECT_EQ(refused.code, 1) << refused.out;
    EXPECT_NE(refused.out.find("DODODA.db-journal, som inte kan höra till registret"),
              std::string::npos)
        << refused.out;
    EXPECT_EQ(fileBytes(register_()), other);
    EXPECT_TRUE(fs::exists(journal));
}

// The register's lock is the register's, not a user's or a session's: a program holding it from
// another session (another XDG_RUNTIME_DIR) or as another user stops a restore, the per-user
// lock does not, and a restore under way keeps everyone else from opening the register.
TEST_F(BackupRestore, TheRegisterLockHoldsAcrossSessionsAndUsers) {
    ASSERT_EQ(admin({"backup", "kopia.db"}).code, 0);
    // The program of this user in another folder: its single-instance lock is no concern here.
    InstanceLock elsewhere;
    ASSERT_EQ(elsewhere.acquire(kProgramCaption), InstanceLock::Result::Acquired);
    EXPECT_EQ(admin({"restore", "kopia.db"}).code, 0);

    // A program on this register in another session: the child gets a runtime folder of its own.
    std::string error;
    ASSERT_TRUE(holdRegisterLock(work_.string(), RegisterLockMode::Shared, error)) << error;
    fs::create_directories(dir_.path() / "run2");
    setenv("XDG_RUNTIME_DIR", (dir_.path() / "run2").c_str(), 1);
    const Outcome whileOpen = admin({"restore", "kopia.db"});
    EXPECT_EQ(whileOpen.code, 1) << whileOpen.out;
    EXPECT_NE(whileOpen.out.find("har registret öppet"), std::string::npos) << whileOpen.out;
    // rivo-admin's other commands share the register with the program.
    EXPECT_EQ(admin({"backup", "kopia2.db"}).code, 0);
    releaseRegisterLock();

    // A restore under way: neither rivo-admin nor the program opens the register meanwhile.
    ASSERT_TRUE(holdRegisterLock(work_.string(), RegisterLockMode::Exclusive, error)) << error;
    const Outcome duringRestore = admin({"backup", "kopia3.db"});
    EXPECT_EQ(duringRestore.code, 1) << duringRestore.out;
    EXPECT_NE(duringRestore.out.find("återställs just nu"), std::string::npos) << duringRestore.out;
    releaseRegisterLock();

    // The lock file is readable by whoever may read the register, and by no one else.
    fs::remove(registerLockPath(work_.string()));
    ASSERT_EQ(chmod(register_().c_str(), 0640), 0);
    ASSERT_EQ(admin({"backup", "kopia4.db"}).code, 0);
    struct stat lockInfo {};
    ASSERT_EQ(lstat(registerLockPath(work_.string()).c_str(), &lockInfo), 0);
    EXPECT_EQ(lockInfo.st_mode & 0777u, 0640u);

    if (geteuid() != 0) {
        GTEST_SKIP() << "Another user's program needs root to run as that user.";
    }
    // Another user's program holds the lock (a file that user created) until told to end.
    fs::remove(registerLockPath(work_.string()));
    ASSERT_EQ(chmod(dir_.path().c_str(), 0711), 0);
    ASSERT_EQ(chmod(work_.c_str(), 0777), 0);
    int toChild[2];
    int fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(toChild[1]);
        close(fromChild[0]);
        std::string childError;
        char held = setgid(65534) == 0 && setuid(65534) == 0 &&
                    holdRegisterLock(work_.string(), RegisterLockMode::Shared, childError);
        (void)!write(fromChild[1], &held, 1);
        (void)!read(toChild[0], &held, 1);
        _exit(0);
    }
    close(toChild[0]);
    close(fromChild[1]);
    char held = 0;
    ASSERT_EQ(read(fromChild[0], &held, 1), 1);
    EXPECT_TRUE(held);
    struct stat owner {};
    ASSERT_EQ(lstat(registerLockPath(work_.string()).c_str(), &owner), 0);
    EXPECT_EQ(owner.st_uid, 65534u);
    const Outcome otherUser = admin({"restore", "kopia.db"});
    EXPECT_EQ(otherUser.code, 1) << otherUser.out;
    EXPECT_NE(otherUser.out.find("har registret öppet"), std::string::npos) << otherUser.out;
    close(toChild[1]);
    close(fromChild[0]);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(admin({"restore", "kopia.db"}).code, 0);
}

// --keep prunes only copies of ours, by the time they were made: a file that only has the name
// of a copy is left alone, and a copy dated in the future counts by its file time.
TEST_F(BackupRestore, PruningRemovesOnlyOurOwnCopiesOldestFirst) {
    const fs::path folder = dir_.path() / "kopior";
    fs::create_directories(folder);
    ASSERT_EQ(admin({"backup", "kopia.db"}).code, 0);
    const std::string ours = fileBytes(work_ / "kopia.db");
    const auto dated = [&](const char* name, const std::string& bytes, std::time_t made) {
        writeFile(folder / name, bytes);
        const struct timespec times[2] = {{made, 0}, {made, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, (folder / name).c_str(), times, 0), 0);
    };
    constexpr std::time_t kJan2020 = 1577880000; // 2020-01-01 12:00 UTC
    dated("DODODA-2020-01-01T0000.db", ours, kJan2020);
    dated("DODODA-2020-01-03T0000.db", ours, kJan2020);
    dated("DODODA-9999-01-01T0000.db", ours, kJan2020 + 86400); // made on 2 January
    dated("DODODA-2019-01-01T0000.db", "anteckningar, ingen kopia", kJan2020);
    dated("DODODA-2019-01-02T0000.db.krypterad", std::string(4096, 'x'), kJan2020);

    const Outcome backup = admin({"backup", "--folder", folder.string(), "--keep", "2", "--encrypt",
                                  "--passphrase-file", "fras"});
    ASSERT_EQ(backup.code, 0) << backup.out;
    const std::vector<std::string> names = folderNames(folder);
    ASSERT_EQ(names.size(), 4u) << backup.out;
    EXPECT_EQ(names[0], "DODODA-2019-01-01T0000.db");
    EXPECT_EQ(names[1], "DODODA-2019-01-02T0000.db.krypterad");
    EXPECT_EQ(names[2], "DODODA-2020-01-03T0000.db");
    EXPECT_TRUE(names[3].ends_with(".db.krypterad") && names[3].starts_with("DODODA-20"))
        << names[3];
}

} // namespace
