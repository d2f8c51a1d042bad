// SPDX-License-Identifier: Apache-2.0
// The anchor lines as read from files and the system log, and the system log's rule for rows
// after its newest line: only a row written in the last minute may still be on its way there.

#include "anchors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHash(64, 'a');

TEST(AnchorLine, OnlyAWholeNumberAndAFullHashMakeAnAnchor) {
    struct Case {
        std::string line;
        int seq; // -1: no anchor
        std::string registerName;
    };
    const Case cases[] = {
        {"atkomstlogg rad=12 hash=" + kHash + " register=sqlite:/a b/rivo.db", 12,
         "sqlite:/a b/rivo.db"},
        {"Dec  7 10:00:00 ws RIVO-IV[7]: atkomstlogg rad=3 hash=" + kHash + "\r\n", 3, ""},
        {"rad=0 hash=" + std::string(64, '0'), 0, ""},
        {"rad=12 hash=" + kHash.substr(1), -1, ""},
        {"rad=12 hash=" + std::string(64, 'A'), -1, ""},
        {"rad=-1 hash=" + kHash, -1, ""},
        {"rad=1x hash=" + kHash, -1, ""},
        {"xrad=12 hash=" + kHash, -1, ""},
        {"rad=12345678901 hash=" + kHash, -1, ""},
        {"rad=12", -1, ""},
    };
    for (const Case& c : cases) {
        const std::optional<AccessLogAnchor> anchor = parseAnchorLine(c.line);
        ASSERT_EQ(anchor.has_value(), c.seq >= 0) << c.line;
        if (anchor) {
            EXPECT_EQ(anchor->head.seq, c.seq) << c.line;
            EXPECT_EQ(anchor->head.hash.size(), 64u) << c.line;
            EXPECT_EQ(anchor->registerName, c.registerName) << c.line;
        }
    }
}

TEST(AnchorRules, ARowAfterTheSystemLogsNewestLineIsForgedUnlessItIsOfTheLastMinute) {
    AccessLogCheck chain;
    chain.hashes = {kHash, std::string(64, 'b')};
    chain.soundRows = 2;
    const std::int64_t now = 1'800'000'000; // 2027-01-15T08:00:00Z
    AnchorSource journal;
    journal.name = "systemloggen";
    journal.complete = true;
    journal.anchors.push_back({{1, kHash}, "sqlite:/r", "systemloggen"});
    // Another register's line in the same log is neither checked nor the newest.
    journal.anchors.push_back({{9, std::string(64, 'c')}, "sqlite:/annan", "systemloggen"});
    struct Case {
        const char* time;
        bool forged;
    };
    const Case cases[] = {
        {"2027-01-15T07:59:30.000Z", false},
        {"2027-01-15T08:00:50.000Z", false},
        {"2027-01-15T07:58:00.000Z", true},
        {"2027-01-16T08:00:00.000Z", true},
    };
    for (const Case& c : cases) {
        chain.times = {"2027-01-15T07:00:00.000Z", c.time};
        const AnchorVerdict verdict = checkAnchors(chain, "sqlite:/r", {journal}, now);
        EXPECT_EQ(verdict.confirmed, 1) << c.time;
        ASSERT_EQ(verdict.failures.size(), c.forged ? 1u : 0u) << c.time;
        if (c.forged) {
            EXPECT_EQ(verdict.failures[0].find("Rad 2 (" + std::string(c.time) +
                                               ") finns inte i systemloggen"),
                      0u)
                << verdict.failures[0];
        }
    }
}

} // namespace
