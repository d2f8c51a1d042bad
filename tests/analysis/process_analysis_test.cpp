// SPDX-License-Identifier: Apache-2.0
#include "age_band_index.h"
#include "occasion_fixture.h"
#include "pair_rating.h"
#include "process_comparisons.h"
#include "span_analysis.h"

#include <string>

namespace {

using ProcessComparisonsTest = OccasionTest;

std::string field(const char* text) {
    return text;
}

TEST_F(ProcessComparisonsTest, BlockDesignAgainstNoTimeBonus) {
    setScaled(SUB_BLOCKMONSTER, 12);
    setScaled(SUB_BUT, 9);
    ASSERT_EQ(computeProcessComparisons(), 1);
    const ComparisonRow& row = ProcessComparisons[0];
    EXPECT_EQ(field(row.title), "Blockmönster - Blockmönster Utan Tidsbonus");
    EXPECT_EQ(row.name1[0], '\0');
    EXPECT_EQ(row.name2[0], '\0');
    EXPECT_EQ(field(row.difference), "3");
    EXPECT_EQ(field(row.level), ".15");
    EXPECT_EQ(field(row.criticalValue), "2.34");
    EXPECT_EQ(field(row.baseRate), "3.2%");
}

TEST_F(ProcessComparisonsTest, ForwardBelowBackwardTakesTheSecondHigherColumn) {
    setScaled(SUB_SF, 8);
    setScaled(SUB_SB, 12);
    setScaled(SUB_SS, 8);
    computeProcessComparisons();
    EXPECT_EQ(field(ProcessComparisons[1].difference), "-4");
    EXPECT_EQ(field(ProcessComparisons[1].level), ".15");
    EXPECT_EQ(field(ProcessComparisons[1].criticalValue), "2.94");
    EXPECT_EQ(field(ProcessComparisons[1].baseRate), "10.1%");
    EXPECT_EQ(field(ProcessComparisons[2].title),
              "Sifferrepetition Framlänges - Sifferrepetition Sekvensiering");
    EXPECT_EQ(field(ProcessComparisons[2].level), "ns*");
    EXPECT_EQ(field(ProcessComparisons[2].baseRate), "100.0%");
    EXPECT_EQ(field(ProcessComparisons[3].level), ".15"); // 4 does not reach 4.06
    EXPECT_EQ(field(ProcessComparisons[3].criticalValue), "2.98");
}

TEST_F(ProcessComparisonsTest, RowsNeedBothScaledScores) {
    setScaled(SUB_BLOCKMONSTER, 10);
    setScaled(SUB_BUT, 0);
    setScaled(SUB_SF, 0);
    setScaled(SUB_SB, 10);
    setScaled(SUB_SS, 10);
    computeProcessComparisons();
    const bool made[4] = {false, false, false, true};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(ProcessComparisons[row].title[0] != '\0', made[row]) << row;
    }
}

TEST_F(ProcessComparisonsTest, StartsWithAClearedPairFlag) {
    pairNsMarked = 1;
    setScaled(SUB_BLOCKMONSTER, 15);
    setScaled(SUB_BUT, 5);
    computeProcessComparisons();
    EXPECT_EQ(pairNsMarked, 0);
}

TEST(SpanFrequency, CellsOfTheSpanTable) {
    struct Case {
        int span, raw;
        const char* band;
        int shown;
        const char* text;
    };
    const Case cases[] = {
        {SPAN_SFO, 0, "45-54 år", 1, "100.00%"},
        {SPAN_SFO, 9, "16-17 år", 1, "0.0%"},
        {SPAN_SFO, 5, "25-29 år", 1, "96.1%"},
        {SPAN_SFO, 2, "85-90 år", 1, "100.0%"}, // a row left out of the printed table
        {SPAN_SBO, 9, "20-24 år", 1, "0.0%"},
        {SPAN_SSO, 6, "85-90 år", 1, "31.0%"},
        {SPAN_SSO, NOT_ADMINISTERED, "25-29 år", 0, ""},
        {SPAN_BO, 6, "65-69 år", 1, "29.4%"},
        {SPAN_BO, 6, "70-74 år", 0, ""},
        {SPAN_BO, 0, "85-90 år", 0, ""},
        {SPAN_SFO, 10, "25-29 år", 0, ""}, // outside the table
    };
    for (const Case& c : cases) {
        RowText text = "stale";
        EXPECT_EQ(spanFrequency(c.span, c.raw, ageBandIndex(c.band), text), c.shown)
            << c.span << " " << c.raw << " " << c.band;
        EXPECT_EQ(field(text), c.text) << c.span << " " << c.raw << " " << c.band;
    }
    RowText text;
    EXPECT_EQ(spanFrequency(SPAN_SFO, 5, -1, text), 0);
}

TEST(SpanDifferenceRate, CellsOfTheRawScoreComparisons) {
    struct Case {
        int pair, difference;
        const char* band;
        const char* text;
    };
    const Case cases[] = {
        {SPAN_PAIR_SFO_SBO, 0, "45-54 år", "100.0%"},
        {SPAN_PAIR_SFO_SSO, 7 - 9, "25-29 år", "13.2%"},
        {SPAN_PAIR_SFO_SBO, 3, "85-90 år", "37.0%"},
        {SPAN_PAIR_SFO_SBO, -3, "20-24 år", "0.0%"},
        {SPAN_PAIR_SBO_SSO, -6, "70-74 år", "1.7%"},
        {SPAN_PAIR_SBO_SSO, 9, "16-17 år", "0.0%"},
        {SPAN_PAIR_SBO_SSO, -12, "70-74 år", "0.0%"}, // beyond the table: its last row
    };
    for (const Case& c : cases) {
        RowText text;
        spanDifferenceRate(c.pair, c.difference, ageBandIndex(c.band), text);
        EXPECT_EQ(field(text), c.text) << c.pair << " " << c.difference << " " << c.band;
    }
    RowText text = "stale";
    spanDifferenceRate(SPAN_PAIR_SFO_SBO, 1, -1, text);
    EXPECT_EQ(text[0], '\0');
}

} // namespace
