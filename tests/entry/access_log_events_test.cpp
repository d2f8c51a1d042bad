// SPDX-License-Identifier: Apache-2.0
// Every change writes its access-log row in its own transaction, and a change whose row cannot
// be written leaves the register as it was; a reading action whose row cannot be written is
// refused.

#include "access_log.h"
#include "database_fixture.h"
#include "norm_tables.h"
#include "save_occasion.h"
#include "statement.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

class AccessLogEvents : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        setAccessLogUser("psykolog");
        resetTestOccasion();
        TestOccasion& occasion = testOccasion();
        occasion.person = samplePerson("Första");
        for (std::int32_t& raw : occasion.RawScores) {
            raw = 5;
        }
        ASSERT_EQ(saveTestOccasion(occasion, 0), 1);
        ASSERT_EQ(DoInsertUser("anna", "hemligt"), DB_DONE);
    }
    std::vector<AccessLogRow> logRows() {
        std::vector<AccessLogRow> found;
        EXPECT_EQ(DoListAccessLog({}, [&](const AccessLogRow& row) { found.push_back(row); }),
                  DB_DONE);
        return found;
    }
    std::int32_t count(const char* sql) {
        Statement statement;
        std::int32_t value = -1;
        EXPECT_TRUE(statement.executeDirect(sql));
        statement.bindColumnInt(1, &value);
        statement.fetch();
        statement.closeCursor();
        statement.commit();
        return value;
    }
    // Persons, raw-score rows, users and norm rows, and the names, as one text.
    std::string registerState() {
        return std::to_string(count("SELECT COUNT(*) FROM TESTPERSON")) + "/" +
               std::to_string(count("SELECT COUNT(*) FROM TESTDATA")) + "/" +
               std::to_string(count("SELECT COUNT(*) FROM SEC")) + "/" +
               std::to_string(count("SELECT COUNT(*) FROM NORMER")) + "/" +
               std::to_string(count("SELECT SUM(likheter) FROM TESTDATA")) + "/" +
               std::to_string(count("SELECT IDNOW FROM NAMEID"));
    }
};

struct EventCase {
    const char* what;
    std::function<bool()> act;
    const char* event;
    std::optional<std::int32_t> person;
    const char* detail;
};

std::vector<EventCase> changes() {
    return {
        {"a new occasion",
         [] {
             TestOccasion& occasion = testOccasion();
             occasion.person = samplePerson("Andra");
             return saveTestOccasion(occasion, 0) == 1;
         },
         "occasion-created", 2, ""},
        {"personal data changed",
         [] {
             TestOccasion& occasion = testOccasion();
             occasion.person.ID = 1;
             std::strcpy(occasion.person.NAMN, "Omdöpt");
             occasion.person.SEX = 1;
             return saveTestOccasion(occasion, 1) == 1;
         },
         "person-changed", 1, "NAMN, SEX"},
        {"raw scores changed",
         [] {
             TestOccasion& occasion = testOccasion();
             occasion.person = samplePerson("Första");
             occasion.person.ID = 1;
             occasion.RawScores[2] = 9;
             occasion.RawScores[7] = NOT_ADMINISTERED;
             return saveTestOccasion(occasion, 1) == 1;
         },
         "raw-scores-changed", 1, "2 råpoäng"},
        {"person deleted", [] { return DoDeletePerson(1) == DB_DONE; }, "person-deleted", 1, ""},
        {"user added", [] { return DoInsertUser("bertil", "hemligt") == DB_DONE; }, "user-added",
         std::nullopt, "bertil"},
        {"user removed", [] { return DoDeleteUser("anna") == DB_DONE; }, "user-removed",
         std::nullopt, "anna"},
        {"password changed", [] { return DoUpdatePasswordLogged("nytt12", "anna") == DB_DONE; },
         "password-changed", std::nullopt, ""},
        {"norms imported",
         [] {
             NormTables tables;
             NormGroupEntry group;
             group.normgrupp = "Standardgrupp";
             group.delgrupp = "16-17 år";
             group.sekvens = 1;
             tables.groups.push_back(group);
             return DoReplaceNormTables(tables, "2025-01-01 00:00:00 UTC") == DB_DONE;
         },
         "norms-imported", std::nullopt, "1 rad"},
        {"passwords rehashed", [] { return DoLogPasswordsRehashed(3) == DB_DONE; },
         "passwords-rehashed", std::nullopt, "3 lösenord"},
    };
}

class AccessLogChange : public AccessLogEvents, public ::testing::WithParamInterface<int> {
  protected:
    EventCase change() const { return changes()[static_cast<std::size_t>(GetParam())]; }
};

TEST_P(AccessLogChange, WritesItsRowWithIt) {
    {
        const EventCase c = change();
        ASSERT_TRUE(c.act()) << c.what;
        const std::vector<AccessLogRow> rows = logRows();
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.back().event, c.event) << c.what;
        EXPECT_EQ(rows.back().person, c.person) << c.what;
        EXPECT_EQ(rows.back().detail, c.detail) << c.what;
        EXPECT_EQ(rows.back().user,
                  c.event == std::string("password-changed") ? "anna" : "psykolog");
        EXPECT_TRUE(messages_.texts().empty()) << c.what;
    }
}

TEST_P(AccessLogChange, WhoseRowCannotBeWrittenChangesNothing) {
    {
        const EventCase c = change();
        const std::string before = registerState();
        const std::size_t rowsBefore = logRows().size();
        const std::int32_t counter = idCounter();
        refuseWrites("no_log", "INSERT", "ATKOMSTLOGG", "loggen är full");
        messages_.clear();
        EXPECT_FALSE(c.act()) << c.what;
        ASSERT_FALSE(messages_.texts().empty()) << c.what;
        EXPECT_NE(messages_.texts()[0].find("loggen är full"), std::string::npos) << c.what;
        dropRefusal("no_log", "ATKOMSTLOGG");
        EXPECT_EQ(registerState(), before) << c.what;
        EXPECT_EQ(logRows().size(), rowsBefore) << c.what;
        EXPECT_EQ(idCounter(), counter) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryChange, AccessLogChange,
                         ::testing::Range(0, static_cast<int>(changes().size())));

TEST_F(AccessLogEvents, LoginsAreLoggedAndAReadingActionWithoutItsRowIsRefused) {
    EXPECT_TRUE(DoLogLoginAttempt("anna", DB_WRONG_PASSWORD, true));
    EXPECT_TRUE(DoLogLoginAttempt("nisse", DB_NO_ROW, true));
    EXPECT_TRUE(DoLogLoginAttempt("anna", DB_DONE, true));
    std::vector<AccessLogRow> rows = logRows();
    ASSERT_GE(rows.size(), 3u);
    const auto last = rows.end() - 3;
    EXPECT_EQ(last[0].event + " " + last[0].user + " " + last[0].detail,
              "login-failed anna fel lösenord");
    EXPECT_EQ(last[1].event + " " + last[1].user + " " + last[1].detail,
              "login-failed nisse okänd användare");
    EXPECT_EQ(last[2].event + " " + last[2].user, "login anna");
    EXPECT_EQ(accessLogUser(), "anna");

    refuseWrites("no_log", "INSERT", "ATKOMSTLOGG", "loggen är full");
    messages_.clear();
    EXPECT_FALSE(logBeforeReading(AccessEvent::ResultsViewed, 1, ""));
    EXPECT_FALSE(DoLogLoginAttempt("psykolog", DB_DONE, true));
    EXPECT_EQ(accessLogUser(), "anna"); // the refused login did not become the user
    const std::vector<std::string> texts = messages_.texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], kAccessLogRefusedMessage);
    EXPECT_EQ(texts[3], kAccessLogRefusedMessage);
    dropRefusal("no_log", "ATKOMSTLOGG");
    EXPECT_EQ(logRows().size(), rows.size());
}

} // namespace
