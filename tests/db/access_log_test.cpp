// SPDX-License-Identifier: Apache-2.0
// The access log itself: its rows refuse to change, a change made behind the triggers' back is
// found and named by the chain check, and a register made before the log gets it unchanged
// otherwise.

#include "access_log.h"
#include "database_fixture.h"
#include "schema.h"
#include "statement.h"

#include <string>
#include <vector>

namespace {

class AccessLog : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        setAccessLogUser("psykolog");
    }
    std::vector<AccessLogRow> rows(const AccessLogFilter& filter = {}) {
        std::vector<AccessLogRow> found;
        EXPECT_EQ(DoListAccessLog(filter, [&](const AccessLogRow& row) { found.push_back(row); }),
                  DB_DONE);
        return found;
    }
    AccessLogCheck verified() {
        AccessLogCheck check;
        EXPECT_EQ(DoVerifyAccessLog(check), DB_DONE);
        return check;
    }
    bool runs(const std::string& sql) {
        Statement statement;
        return statement.executeDirect(sql.c_str()) && statement.commit();
    }
    void dropTriggers() {
        if (testingOnServer()) {
            execAsOwner("DROP TRIGGER ATKOMSTLOGG_INGEN_ANDRING ON ATKOMSTLOGG");
        } else {
            exec("DROP TRIGGER ATKOMSTLOGG_INGEN_ANDRING");
            exec("DROP TRIGGER ATKOMSTLOGG_INGEN_BORTTAGNING");
        }
    }
};

TEST_F(AccessLog, RowsAreChainedAndFoundByPersonUserAndDay) {
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::ResultsViewed, 7, ""), DB_DONE);
    ASSERT_EQ(DoAppendAccessLogAs("okänd", AccessEvent::LoginFailed, std::nullopt, "x"), DB_DONE);
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::Printed, 8, "Skrivare \"A\"\nrad två"), DB_DONE);
    const std::vector<AccessLogRow> all = rows();
    ASSERT_EQ(all.size(), 3u);
    std::string previous(kChainStart);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].seq, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(all[i].hash, accessLogHash(previous, all[i]));
        EXPECT_EQ(all[i].program, "RIVO_IV");
        EXPECT_EQ(all[i].time.size(), 24u) << all[i].time;
        previous = all[i].hash;
    }
    EXPECT_EQ(all[1].user, "okänd");
    EXPECT_FALSE(all[1].person.has_value());
    EXPECT_EQ(all[2].detail, "Skrivare \"A\"\nrad två");

    const std::string today = all[0].time.substr(0, 10);
    struct Case {
        AccessLogFilter filter;
        std::vector<std::int32_t> seqs;
    };
    const Case cases[] = {
        {{7, "", "", ""}, {1}},
        {{std::nullopt, "psykolog", "", ""}, {1, 3}},
        {{8, "psykolog", today, today}, {3}},
        {{std::nullopt, "", "2000-01-01", "2000-12-31"}, {}},
        {{std::nullopt, "", today, ""}, {1, 2, 3}},
        {{std::nullopt, "", "", "2000-01-01"}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::int32_t> seqs;
        for (const AccessLogRow& row : rows(c.filter)) {
            seqs.push_back(row.seq);
        }
        EXPECT_EQ(seqs, c.seqs) << c.filter.user << " " << c.filter.from << " " << c.filter.to;
    }
    EXPECT_TRUE(verified().sound);
    EXPECT_EQ(verified().soundRows, 3);
}

TEST_F(AccessLog, TheDatabaseRefusesToChangeOrRemoveRows) {
    // The triggers hold even for the register's owner; the workstations' role is refused before
    // them (workstation_role_test.cpp).
    reconnectAsOwner();
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::ResultsViewed, 1, ""), DB_DONE);
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::ResultsViewed, 2, ""), DB_DONE);
    std::vector<std::string> statements = {
        "UPDATE ATKOMSTLOGG SET DETALJ = 'x' WHERE SEKVENS = 1",
        "UPDATE ATKOMSTLOGG SET PERSON_ID = 3",
        "DELETE FROM ATKOMSTLOGG WHERE SEKVENS = 2",
        "DELETE FROM ATKOMSTLOGG",
    };
    if (testingOnServer()) {
        statements.push_back("TRUNCATE ATKOMSTLOGG");
    }
    for (const std::string& sql : statements) {
        messages_.clear();
        EXPECT_FALSE(runs(sql)) << sql;
        ASSERT_FALSE(messages_.texts().empty()) << sql;
        EXPECT_NE(messages_.texts()[0].find("Åtkomstloggen kan inte ändras."), std::string::npos)
            << messages_.texts()[0];
    }
    const AccessLogCheck check = verified();
    EXPECT_TRUE(check.sound) << check.problem;
    EXPECT_EQ(check.soundRows, 2);
}

TEST_F(AccessLog, VerifyNamesTheFirstRowAlteredBehindTheTriggersBack) {
    for (int i = 1; i <= 4; ++i) {
        ASSERT_EQ(DoAppendAccessLog(AccessEvent::ResultsViewed, i, "visad"), DB_DONE);
    }
    dropTriggers();
    struct Case {
        std::string alter;
        std::string undo;
        std::int32_t badRow;
        const char* words;
    };
    const std::vector<AccessLogRow> original = rows();
    const auto reinsert = [](const AccessLogRow& row) {
        return "INSERT INTO ATKOMSTLOGG VALUES (" + std::to_string(row.seq) + ", '" + row.time +
               "', '" + row.user + "', '" + row.workstation + "', '" + row.program + "', '" +
               row.event + "', " + std::to_string(*row.person) + ", '" + row.detail + "', '" +
               row.hash + "')";
    };
    const Case cases[] = {
        {"UPDATE ATKOMSTLOGG SET TID = '2001-01-01T00:00:00.000Z' WHERE SEKVENS = 2",
         "UPDATE ATKOMSTLOGG SET TID = '" + original[1].time + "' WHERE SEKVENS = 2", 2,
         "stämmer inte"},
        {"UPDATE ATKOMSTLOGG SET ANVANDARE = 'annan' WHERE SEKVENS = 3",
         "UPDATE ATKOMSTLOGG SET ANVANDARE = 'psykolog' WHERE SEKVENS = 3", 3, "stämmer inte"},
        {"UPDATE ATKOMSTLOGG SET PERSON_ID = NULL WHERE SEKVENS = 1",
         "UPDATE ATKOMSTLOGG SET PERSON_ID = 1 WHERE SEKVENS = 1", 1, "stämmer inte"},
        {"UPDATE ATKOMSTLOGG SET DETALJ = 'visad ' WHERE SEKVENS = 4",
         "UPDATE ATKOMSTLOGG SET DETALJ = 'visad' WHERE SEKVENS = 4", 4, "stämmer inte"},
        {"UPDATE ATKOMSTLOGG SET HANDELSE = 'printed' WHERE SEKVENS = 2",
         "UPDATE ATKOMSTLOGG SET HANDELSE = 'results-viewed' WHERE SEKVENS = 2", 2, "stämmer inte"},
        {"DELETE FROM ATKOMSTLOGG WHERE SEKVENS = 3", reinsert(original[2]), 3, "saknas"},
        {"DELETE FROM ATKOMSTLOGG WHERE SEKVENS = 4", reinsert(original[3]), 4, "saknas"},
    };
    for (const Case& c : cases) {
        execAsOwner(c.alter);
        const AccessLogCheck check = verified();
        EXPECT_FALSE(check.sound) << c.alter;
        EXPECT_EQ(check.firstBadSeq, c.badRow) << c.alter;
        EXPECT_EQ(check.soundRows, c.badRow - 1) << c.alter;
        EXPECT_EQ(check.problem.find("Rad " + std::to_string(c.badRow) + " " + c.words), 0u)
            << check.problem;
        execAsOwner(c.undo);
        EXPECT_TRUE(verified().sound) << c.undo << ": " << verified().problem;
    }
    // A person's ID too large for 32 bits is read as stored, never as person 1, its low 32 bits.
    if (!testingOnServer()) {
        exec("UPDATE ATKOMSTLOGG SET PERSON_ID = 4294967297 WHERE SEKVENS = 1");
        const AccessLogRow altered = rows()[0];
        EXPECT_FALSE(altered.person.has_value());
        EXPECT_EQ(altered.storedPerson, "4294967297");
        EXPECT_EQ(verified().firstBadSeq, 1);
    }
}

TEST_F(AccessLog, AnOlderRegisterGetsTheLogAndNothingElseChanges) {
    TestOccasion occasion{};
    occasion.person = samplePerson("Äldre");
    ASSERT_EQ(DoInsertPD(occasion.person), DB_DONE);
    ASSERT_EQ(DoInsertTD(occasion), DB_DONE);
    // Making the log's tables is the owner's work.
    reconnectAsOwner();
    exec("DROP TABLE ATKOMSTLOGG");
    exec("DROP TABLE ATKOMSTLOGG_HUVUD");
    if (testingOnServer()) {
        exec("DROP FUNCTION atkomstlogg_vagra()");
    }
    const auto snapshot = [this] {
        Statement statement;
        char text[256] = {};
        std::string all;
        EXPECT_TRUE(statement.executeDirect(
            "SELECT NAMN || '|' || CAST(IDNOW AS VARCHAR(20)) || '|' || "
            "CAST((SELECT COUNT(*) FROM NORMER) AS VARCHAR(20)) FROM TESTPERSON, NAMEID"));
        statement.bindColumnText(1, text, sizeof text);
        statement.fetchEach([&] { all += text; });
        statement.commit();
        return all;
    };
    const std::string before = snapshot();
    bool added = false;
    ASSERT_EQ(DoAddAccessLog(&added), DB_DONE);
    EXPECT_TRUE(added);
    EXPECT_EQ(snapshot(), before);
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::ResultsViewed, occasion.person.ID, ""), DB_DONE);
    EXPECT_FALSE(runs("DELETE FROM ATKOMSTLOGG"));
    // A second start finds the log and leaves it as it is.
    ASSERT_EQ(DoAddAccessLog(&added), DB_DONE);
    EXPECT_FALSE(added);
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_TRUE(verified().sound);
}

} // namespace
