// SPDX-License-Identifier: Apache-2.0
// The rows the database stores for an append: on a server the row is numbered, stamped and hashed
// by the server's own function, and its hash must be the program's encoding of what was stored,
// for texts that are empty, long, cut inside a letter, not ASCII, or hold a NUL.

#include "access_log.h"
#include "database_fixture.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string repeated(const std::string& part, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += part;
    }
    return text;
}

class AccessLogAppend : public DatabaseTest {};

TEST_F(AccessLogAppend, TheStoredHashIsTheProgramsEncodingOfTheStoredRow) {
    using namespace std::string_literals;
    struct Case {
        std::string user;
        std::optional<std::int32_t> person;
        std::string detail;
        std::string storedUser;
        std::string storedDetail;
    };
    const std::string nonAscii = "Utskrift på \"Skrivare Ä\"\nrad två\t€ 😀 \\ 'citat'";
    const Case cases[] = {
        {"", std::nullopt, "", "", ""},
        {"Åsa Öberg", 42, nonAscii, "Åsa Öberg", nonAscii},
        // Cut to the column's 500 and 100 bytes, never inside a letter.
        {"psykolog", 7, repeated("å", 300), "psykolog", repeated("å", 250)},
        {repeated("ö", 120), 0, "x", repeated("ö", 50), "x"},
        {"psykolog", 1, repeated("x", 499) + "é", "psykolog", repeated("x", 499)},
        {"psykolog", 1, repeated("y", 501), "psykolog", repeated("y", 500)},
        // A NUL ends the text as stored, and the hash covers no more than that.
        {"psykolog", std::numeric_limits<std::int32_t>::max(), "före\0efter"s, "psykolog", "före"},
        {"ps\0ykolog"s, std::nullopt, "x", "ps", "x"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(DoAppendAccessLogAs(c.user, AccessEvent::ResultsViewed, c.person, c.detail),
                  DB_DONE)
            << c.storedDetail;
    }
    std::vector<AccessLogRow> rows;
    ASSERT_EQ(DoListAccessLog({}, [&](const AccessLogRow& row) { rows.push_back(row); }), DB_DONE);
    ASSERT_EQ(rows.size(), std::size(cases));
    std::string previous(kChainStart);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const AccessLogRow& row = rows[i];
        EXPECT_EQ(row.seq, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(row.user, cases[i].storedUser) << i;
        EXPECT_EQ(row.detail, cases[i].storedDetail) << i;
        EXPECT_EQ(row.person, cases[i].person) << i;
        EXPECT_EQ(row.event, "results-viewed");
        EXPECT_EQ(row.time.size(), 24u) << row.time;
        EXPECT_EQ(row.hash, accessLogHash(previous, row)) << "row " << row.seq;
        previous = row.hash;
    }
    AccessLogHead head;
    ASSERT_EQ(DoReadAccessLogHead(head), DB_DONE);
    EXPECT_EQ(head.seq, static_cast<std::int32_t>(rows.size()));
    EXPECT_EQ(head.hash, previous);
    AccessLogCheck check;
    ASSERT_EQ(DoVerifyAccessLog(check), DB_DONE);
    EXPECT_TRUE(check.sound) << check.problem;
    EXPECT_TRUE(messages_.texts().empty());
}

// The time the row is stamped with is now, in UTC, whichever clock stamps it.
TEST_F(AccessLogAppend, TheRowIsStampedWithTheTimeNow) {
    const std::string before = accessLogTimeNow();
    ASSERT_EQ(DoAppendAccessLog(AccessEvent::Printed, 3, ""), DB_DONE);
    const std::string after = accessLogTimeNow();
    std::vector<AccessLogRow> rows;
    ASSERT_EQ(DoListAccessLog({}, [&](const AccessLogRow& row) { rows.push_back(row); }), DB_DONE);
    ASSERT_EQ(rows.size(), 1u);
    // The format compares as text in time order; to the second, since the clocks may round
    // their milliseconds differently.
    EXPECT_GE(rows[0].time.substr(0, 19), before.substr(0, 19)) << rows[0].time;
    EXPECT_LE(rows[0].time.substr(0, 19), after.substr(0, 19)) << rows[0].time;
    EXPECT_EQ(rows[0].time[10], 'T');
    EXPECT_EQ(rows[0].time.substr(19, 1) + rows[0].time.substr(23), ".Z") << rows[0].time;
}

} // namespace
