// SPDX-License-Identifier: Apache-2.0
// rivo-admin log verify against anchors kept outside the register, as an IT-security reviewer
// tries it: someone who can write the register file rewrites the log so that its chain holds,
// and verify names the anchor that shows it. A register left alone verifies against them all.

#include "access_log.h"
#include "child_run.h"
#include "db.h"
#include "raw_files.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
}

std::string sqlText(const std::string& text) {
    return "'" + text + "'";
}

// Rewrites the log from row `from` on as someone who knows the (public) encoding would: every
// hash recomputed and the head moved to the last row, so the chain holds within the register.
void recomputeChain(const fs::path& database, std::int32_t from) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT SEKVENS, TID, ANVANDARE, ARBETSSTATION, PROGRAM, HANDELSE, "
                       "PERSON_ID, DETALJ, HASH FROM ATKOMSTLOGG ORDER BY SEKVENS",
                       -1, &query, nullptr);
    const auto text = [&](int column) {
        const auto* value = sqlite3_column_text(query, column);
        return value != nullptr ? std::string(reinterpret_cast<const char*>(value)) : "";
    };
    std::string previous(kChainStart);
    std::string updates = "BEGIN;";
    AccessLogRow row;
    while (sqlite3_step(query) == SQLITE_ROW) {
        row.seq = sqlite3_column_int(query, 0);
        row.time = text(1);
        row.user = text(2);
        row.workstation = text(3);
        row.program = text(4);
        row.event = text(5);
        row.person = sqlite3_column_type(query, 6) == SQLITE_NULL
                         ? std::nullopt
                         : std::optional(sqlite3_column_int(query, 6));
        row.detail = text(7);
        row.hash = row.seq >= from ? accessLogHash(previous, row) : text(8);
        updates += "UPDATE ATKOMSTLOGG SET HASH = " + sqlText(row.hash) +
                   " WHERE SEKVENS = " + std::to_string(row.seq) + ";";
        previous = row.hash;
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    sql(database, updates + "UPDATE ATKOMSTLOGG_HUVUD SET SEKVENS = " + std::to_string(row.seq) +
                      ", HASH = " + sqlText(previous) + "; COMMIT;");
}

struct Outcome {
    int code = -1;
    std::string out;
};

class Anchors : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(work_);
        fs::create_directories(copies_);
        fs::create_directories(dir_.path() / "run");
        fs::create_directories(dir_.path() / "config");
        setenv("XDG_RUNTIME_DIR", (dir_.path() / "run").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_.path() / "config").c_str(), 1);
        ASSERT_EQ(admin({"init-db", "--user", "psykolog", "--password-stdin"}, "demo123\n").code,
                  0);
        writeFile(work_ / "fras", "en lång lösenfras\n");
        // Ten rows, each sent to the "system log" (kept here as a file, the log server's copy),
        // with copies in a folder and the controller's heads taken now and then.
        while (rows() < 10) {
            const int made = rows();
            const std::string copy = (copies_ / ("kopia" + std::to_string(made))).string();
            ASSERT_EQ(made % 3 == 0
                          ? admin({"backup", "--encrypt", "--passphrase-file", "fras", copy}).code
                          : admin({"backup", copy}).code,
                      0);
            // The two newest copies are kept (kopia8 plain, kopia9 encrypted).
            fs::remove(copies_ / ("kopia" + std::to_string(made - 2)));
        }
        syslogLines_ = headLine();
        for (int seq = 1; seq < rows(); ++seq) {
            syslogLines_ = lineOf(seq) + syslogLines_;
        }
        writeFile(work_ / "syslog", "Dec  7 10:00:00 host sshd[1]: other line\n" + syslogLines_);
        writeFile(work_ / "huvuden", "# the controller's heads\n" + lineOf(4) + headLine());
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("XDG_CONFIG_HOME");
    }

    Outcome admin(const std::vector<std::string>& args, const std::string& input = "") {
        const fs::path in = dir_.path() / "stdin";
        const fs::path out = dir_.path() / "output";
        writeFile(in, input);
        const int status = runInFolder(RIVO_ADMIN_PATH, work_, args, in, out, out);
        return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileBytes(out)};
    }
    Outcome verify() {
        return admin({"log", "verify", "--anchors", "huvuden", "--anchors", copies_.string(),
                      "--syslog", "syslog", "--passphrase-file", "fras"});
    }
    fs::path register_() const { return work_ / kDatabaseFileName; }
    int rows() {
        sqlite3* db = nullptr;
        sqlite3_open(register_().c_str(), &db);
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM ATKOMSTLOGG", -1, &query, nullptr);
        const int count = sqlite3_step(query) == SQLITE_ROW ? sqlite3_column_int(query, 0) : -1;
        sqlite3_finalize(query);
        sqlite3_close(db);
        return count;
    }
    std::string headLine() { return admin({"log", "head"}).out; }
    // The line the system log holds for row seq: the head line with that row's number and hash.
    std::string lineOf(int seq) {
        sqlite3* db = nullptr;
        sqlite3_open(register_().c_str(), &db);
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db, "SELECT HASH FROM ATKOMSTLOGG WHERE SEKVENS = ?", -1, &query,
                           nullptr);
        sqlite3_bind_int(query, 1, seq);
        sqlite3_step(query);
        const std::string hash = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
        sqlite3_finalize(query);
        sqlite3_close(db);
        const std::string head = headLine();
        const std::size_t name = head.find(" register=");
        return "atkomstlogg rad=" + std::to_string(seq) + " hash=" + hash + head.substr(name);
    }
    void dropTriggers() {
        sql(register_(), "DROP TRIGGER ATKOMSTLOGG_INGEN_ANDRING;"
                         "DROP TRIGGER ATKOMSTLOGG_INGEN_BORTTAGNING;");
    }

    TempDir dir_;
    fs::path work_ = dir_.path() / "mottagning";
    fs::path copies_ = dir_.path() / "kopior";
    std::string syslogLines_;
};

TEST_F(Anchors, AnUntouchedRegisterVerifiesAgainstEveryAnchor) {
    const Outcome verified = verify();
    EXPECT_EQ(verified.code, 0) << verified.out;
    EXPECT_NE(verified.out.find("obruten: alla 10 rader"), std::string::npos) << verified.out;
    // 2 heads + 2 copies (one of them encrypted) + 10 system log lines.
    EXPECT_NE(verified.out.find("14 ankare stämmer"), std::string::npos) << verified.out;
    // Without the passphrase the encrypted copy is not read: said, and not clean.
    const Outcome unread = admin({"log", "verify", "--anchors", copies_.string()});
    EXPECT_EQ(unread.code, 2) << unread.out;
    EXPECT_NE(unread.out.find("krypterad; ange --passphrase-file"), std::string::npos)
        << unread.out;
}

TEST_F(Anchors, EachRewriteIsNamedWithTheAnchorThatRevealsIt) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> tamper;
        const char* named; // the words of the finding
        const char* source;
    };
    const Case cases[] = {
        {"the last two rows deleted, the head copied from the new last row",
         [](const fs::path& db) {
             sql(db, "DELETE FROM ATKOMSTLOGG WHERE SEKVENS > 8");
             recomputeChain(db, 9);
         },
         "pekar bortom loggens sista rad 8", "huvuden rad 3"},
        {"row 4 edited and every hash from there recomputed",
         [](const fs::path& db) {
             sql(db, "UPDATE ATKOMSTLOGG SET DETALJ = 'ingen kopia' WHERE SEKVENS = 4");
             recomputeChain(db, 4);
         },
         "rad 4 har en annan hash", "huvuden rad 2"},
        {"a middle row deleted, the rows after it renumbered and rehashed",
         [](const fs::path& db) {
             sql(db, "DELETE FROM ATKOMSTLOGG WHERE SEKVENS = 6;"
                     "UPDATE ATKOMSTLOGG SET SEKVENS = SEKVENS - 1 WHERE SEKVENS > 6");
             recomputeChain(db, 6);
         },
         "pekar bortom loggens sista rad 9", "syslog rad"},
        {"a forged row appended with its hash and the head",
         [](const fs::path& db) {
             sql(db, "INSERT INTO ATKOMSTLOGG SELECT 11, '2026-01-02T03:04:05.000Z', ANVANDARE, "
                     "ARBETSSTATION, PROGRAM, 'results-viewed', 1, '', HASH FROM ATKOMSTLOGG "
                     "WHERE SEKVENS = 10");
             recomputeChain(db, 11);
         },
         "Rad 11 (2026-01-02T03:04:05.000Z) finns inte i syslog", "syslog"},
        {"everything deleted and the head reset to 0",
         [](const fs::path& db) {
             sql(db, "DELETE FROM ATKOMSTLOGG; UPDATE ATKOMSTLOGG_HUVUD SET SEKVENS = 0, HASH = '" +
                         std::string(kChainStart) + "'");
         },
         "pekar bortom loggens sista rad 0", "kopian"},
    };
    dropTriggers();
    sql(register_(), "VACUUM INTO '" + (dir_.path() / "orörd.db").string() + "'");
    for (const Case& c : cases) {
        fs::copy_file(dir_.path() / "orörd.db", register_(), fs::copy_options::overwrite_existing);
        c.tamper(register_());
        // The chain in the register holds: only an anchor can tell.
        EXPECT_EQ(admin({"log", "verify"}).code, 0) << c.what;
        const Outcome verified = verify();
        EXPECT_EQ(verified.code, 1) << c.what << "\n" << verified.out;
        EXPECT_NE(verified.out.find(c.named), std::string::npos) << c.what << "\n" << verified.out;
        EXPECT_NE(verified.out.find(std::string("i ") + c.source), std::string::npos)
            << c.what << "\n"
            << verified.out;
    }
}

TEST_F(Anchors, ANulByteAppendedToAUserNameBreaksTheChainAtItsRow) {
    dropTriggers();
    for (const char* column : {"ANVANDARE", "DETALJ"}) {
        sql(register_(), std::string("UPDATE ATKOMSTLOGG SET ") + column + " = " + column +
                             " || CAST(X'00' AS TEXT) WHERE SEKVENS = 3");
        const Outcome verified = admin({"log", "verify"});
        EXPECT_EQ(verified.code, 1) << verified.out;
        EXPECT_EQ(verified.out.find("Rad 3 stämmer inte: den innehåller tecken"), 0u)
            << verified.out;
        sql(register_(), std::string("UPDATE ATKOMSTLOGG SET ") + column + " = SUBSTR(" + column +
                             ", 1, LENGTH(" + column + ")) WHERE SEKVENS = 3");
        EXPECT_EQ(admin({"log", "verify"}).code, 0) << column;
    }
}

TEST_F(Anchors, ARestoreOfAnOlderCopyIsNamedAsAResetWithBothHeads) {
    const std::string replaced = headLine();
    const std::string replacedHash = replaced.substr(replaced.find("hash=") + 5, 64);
    // kopia8 was made as row 9 was appended: the copy's log ends at row 9.
    ASSERT_EQ(admin({"restore", (copies_ / "kopia8").string()}).code, 0);
    const Outcome verified = verify();
    EXPECT_EQ(verified.code, 1) << verified.out;
    EXPECT_NE(verified.out.find("Rad 10: registret återställdes från en kopia, och loggen börjar "
                                "om från kopians huvud, rad 9"),
              std::string::npos)
        << verified.out;
    EXPECT_NE(verified.out.find("slutade vid rad 10 (hash " + replacedHash + ")"),
              std::string::npos)
        << verified.out;
    // The replaced register's head is explained by the restore, not taken for a rewrite.
    EXPECT_NE(verified.out.find("hör till registret som återställningen på rad 10 ersatte"),
              std::string::npos)
        << verified.out;
}

TEST_F(Anchors, VerifyWhileAnotherWorkstationLogsInSeesNoMissingRows) {
    // Appends from a second process while verify reads; each verify must see a whole log.
    for (int round = 0; round < 10; ++round) {
        const pid_t appender = fork();
        ASSERT_GE(appender, 0);
        if (appender == 0) {
            for (int i = 0; i < 5; ++i) {
                admin({"backup", (dir_.path() / ("samtidig" + std::to_string(i))).string()});
            }
            _exit(0);
        }
        for (int i = 0; i < 3; ++i) {
            const Outcome verified = admin({"log", "verify"});
            EXPECT_EQ(verified.code, 0) << verified.out;
        }
        int status = 0;
        waitpid(appender, &status, 0);
        for (int i = 0; i < 5; ++i) {
            fs::remove(dir_.path() / ("samtidig" + std::to_string(i)));
        }
    }
}

TEST_F(Anchors, TheSystemJournalHoldsEveryAppendWhereItCanBeRead) {
    const Outcome verified = admin({"log", "verify", "--journal"});
    if (verified.out.find("Systemjournalen hoppades över") != std::string::npos ||
        verified.out.find("systemjournalen har inga rader") != std::string::npos) {
        GTEST_SKIP() << "the system journal cannot be read here: " << verified.out;
    }
    EXPECT_EQ(verified.code, 0) << verified.out;
    EXPECT_NE(verified.out.find("10 ankare stämmer"), std::string::npos) << verified.out;
}

} // namespace
