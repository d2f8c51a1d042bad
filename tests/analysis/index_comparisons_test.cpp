// SPDX-License-Identifier: Apache-2.0
#include "age_band_index.h"
#include "comparison_tables.h"
#include "index_comparisons.h"
#include "occasion_fixture.h"

#include <string>

namespace {

using IndexComparisonsTest = OccasionTest;

std::string field(const char* text) {
    return text;
}

// --- The significance rule -------------------------------------------------------------------

struct SignificanceCase {
    int difference;
    const char* level;
    const char* critical;
};

TEST(PairRating, EqualToACriticalValueIsReachedAndBelowIsNot) {
    // The c15 / c05 of PFI-AI in "85-90 år".
    const CriticalValues critical{8.08, 11.00};
    const SignificanceCase cases[] = {
        {11, ".05", "11.00"}, {-11, ".05", "11.00"}, {10, ".15", "8.08"}, {9, ".15", "8.08"},
        {-9, ".15", "8.08"},  {8, "ns", "-"},        {0, "ns", "-"},      {45, ".05", "11.00"},
    };
    for (const SignificanceCase& c : cases) {
        pairNsMarked = 1;
        ComparisonRow row{};
        ratePair(row, 100, 100 - c.difference, c.difference, critical);
        EXPECT_EQ(field(row.level), c.level) << c.difference;
        EXPECT_EQ(field(row.criticalValue), c.critical) << c.difference;
        EXPECT_EQ(field(row.difference), std::to_string(c.difference));
    }
}

TEST(PairRating, BaseRateWalkTakesTheFirstThresholdReached) {
    const int cases[][3] = {{45, 40, 0}, {40, 40, 0}, {39, 40, 1},  {-14, 40, 26},
                            {1, 40, 39}, {0, 40, 40}, {-1, 18, 17}, {20, 20, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(baseRateRow(c[0], c[1]), c[2]) << c[0] << " in " << c[1];
    }
}

TEST(AgeBands, MatchOnlyTheExactBandTexts) {
    for (int i = 0; i < kAgeBandCount; ++i) {
        EXPECT_EQ(ageBandIndex(kAgeBands[i]), i);
    }
    EXPECT_EQ(ageBandIndex("85-90 år"), 12);
    for (const char* other : {"Referensgrupp", "", "16-17", "16-17 år ", "85-90 ÅR"}) {
        EXPECT_EQ(ageBandIndex(other), -1) << other;
    }
}

TEST(AbilityLevels, BoundsAreInclusiveAsWritten) {
    const int cases[][2] = {{40, 0},  {79, 0},  {80, 1},  {89, 1},  {90, 2},
                            {109, 2}, {110, 3}, {119, 3}, {120, 4}, {160, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(abilityLevel(c[0]), c[1]) << c[0];
    }
}

// --- Worked examples -------------------------------------------------------------------------

TEST_F(IndexComparisonsTest, VfiAgainstPfiWithTheWholeGroupRates) {
    struct Case {
        int vfi, pfi;
        const char *difference, *level, *critical, *baseRate;
    };
    const Case cases[] = {
        {110, 96, "14", ".15", "10.48", "18.6%"},  // first score higher
        {96, 110, "-14", ".15", "10.48", "21.5%"}, // second score higher
        {100, 100, "0", "ns*", "-", "100.0%"},     // equal scores use the first table
        {145, 100, "45", ".05", "14.26", "0.4%"},  // beyond T = 40: the first row
    };
    for (const Case& c : cases) {
        setIndex(VFI, c.vfi);
        setIndex(PFI, c.pfi);
        ASSERT_EQ(computeIndexComparisons(INDEX_BASE_WHOLE_GROUP), 1);
        const ComparisonRow& row = IndexComparisons[0];
        EXPECT_EQ(field(row.score1), std::to_string(c.vfi));
        EXPECT_EQ(field(row.score2), std::to_string(c.pfi));
        EXPECT_EQ(field(row.difference), c.difference);
        EXPECT_EQ(field(row.level), c.level) << c.difference;
        EXPECT_EQ(field(row.criticalValue), c.critical) << c.difference;
        EXPECT_EQ(field(row.baseRate), c.baseRate) << c.difference;
    }
    EXPECT_EQ(field(IndexComparisons[0].title), "Verbal funktion - Perceptuell funktion");
    EXPECT_EQ(field(IndexComparisons[0].name1), "VFI");
    EXPECT_EQ(field(IndexComparisons[0].name2), "PFI");
}

TEST_F(IndexComparisonsTest, WholeCriticalValuesCountAsReachedPerBand) {
    struct Case {
        const char* band;
        IndexKey first, second;
        int score1, score2, row;
        const char* level;
        const char* critical;
    };
    const Case cases[] = {
        {"85-90 år", PFI, AI, 100, 89, 3, ".05", "11.00"},
        {"80-84 år", PFI, AI, 100, 89, 3, ".05", "10.99"},
        {"85-90 år", AI, SI, 100, 89, 5, ".15", "8.36"},
        {"85-90 år", PFI, AI, 100, 90, 3, ".15", "8.08"},
    };
    for (const Case& c : cases) {
        SetUp();
        setBand(c.band);
        setIndex(c.first, c.score1);
        setIndex(c.second, c.score2);
        ASSERT_EQ(computeIndexComparisons(INDEX_BASE_WHOLE_GROUP), 1);
        EXPECT_EQ(field(IndexComparisons[c.row].level), c.level) << c.band;
        EXPECT_EQ(field(IndexComparisons[c.row].criticalValue), c.critical) << c.band;
    }
}

TEST_F(IndexComparisonsTest, SubtestPairsUseScaledScoresAndTheirOwnTables) {
    setScaled(SUB_SIFFERREPETITION, 12);
    setScaled(SUB_ARITMETIK, 9);
    setScaled(SUB_SYMBOLLETNING, 8);
    setScaled(SUB_KODNING, 10);
    computeIndexComparisons(INDEX_BASE_ABILITY);
    EXPECT_EQ(field(IndexComparisons[7].name1), "Sr");
    EXPECT_EQ(field(IndexComparisons[7].level), ".05");
    EXPECT_EQ(field(IndexComparisons[7].criticalValue), "2.73");
    EXPECT_EQ(field(IndexComparisons[7].baseRate), "18.6%");
    EXPECT_EQ(field(IndexComparisons[8].title), "Symbolletning - Kodning");
    EXPECT_EQ(field(IndexComparisons[8].difference), "-2");
    EXPECT_EQ(field(IndexComparisons[8].level), "ns*");
    EXPECT_EQ(field(IndexComparisons[8].baseRate), "27.9%");
}

// --- Which rows are made ---------------------------------------------------------------------

TEST_F(IndexComparisonsTest, InvalidIndexOrMissingScaledScoreLeavesItsRowsEmpty) {
    for (IndexKey key : {VFI, PFI, AI, SI, HIK, GAI}) {
        setIndex(key, 100);
    }
    setIndex(PFI, 100, 0);
    setScaled(SUB_SIFFERREPETITION, 10);
    setScaled(SUB_ARITMETIK, 0);
    setScaled(SUB_SYMBOLLETNING, 10);
    setScaled(SUB_KODNING, 10);
    computeIndexComparisons(INDEX_BASE_WHOLE_GROUP);
    const bool made[kComparisonRowCount] = {false, true, true,  false, false,
                                            true,  true, false, true};
    for (int row = 0; row < kComparisonRowCount; ++row) {
        EXPECT_EQ(IndexComparisons[row].title[0] != '\0', made[row]) << "row " << row;
    }
    EXPECT_EQ(IndexComparisons[0].score1[0], '\0');
}

TEST_F(IndexComparisonsTest, OnlyTheFirstNonSignificantRowIsMarked) {
    for (IndexKey key : {VFI, PFI, AI, SI}) {
        setIndex(key, 100);
    }
    setIndex(VFI, 130); // rows 0-2 significant, rows 3-5 not
    computeIndexComparisons(INDEX_BASE_WHOLE_GROUP);
    const char* levels[] = {".05", ".05", ".05", "ns*", "ns", "ns"};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(field(IndexComparisons[row].level), levels[row]) << "row " << row;
    }
    EXPECT_EQ(pairNsMarked, 1);

    setIndex(VFI, 160);
    setIndex(PFI, 130);
    setIndex(AI, 100);
    setIndex(SI, 70); // now every pair differs by 30 or more
    computeIndexComparisons(INDEX_BASE_WHOLE_GROUP);
    EXPECT_EQ(pairNsMarked, 0);
}

// --- Base-rate tables by basis -----------------------------------------------------------------

TEST_F(IndexComparisonsTest, AbilityBasisFollowsTheFullScaleLevelEvenWhenInvalid) {
    setIndex(VFI, 110);
    setIndex(AI, 80);
    setIndex(HIK, 75, 0);
    computeIndexComparisons(INDEX_BASE_ABILITY);
    // The lowest level has no first-score-higher difference of 30 or more for VFI-AI.
    EXPECT_EQ(field(IndexComparisons[1].baseRate), "0.0%");

    // 120 and 119 lie in different levels, whose tables differ at this difference.
    setIndex(VFI, 100);
    setIndex(AI, 90);
    const double high = INDEX_PAIR_BASE_RATE[5][0][kIndexPairTopT - 10][1];
    const double upper = INDEX_PAIR_BASE_RATE[4][0][kIndexPairTopT - 10][1];
    ASSERT_NE(high, upper);
    for (const auto& [ik, expected] : {std::pair{120, high}, std::pair{119, upper}}) {
        setIndex(HIK, ik);
        computeIndexComparisons(INDEX_BASE_ABILITY);
        RowText text;
        writeFixed(text, expected, 1, "%");
        EXPECT_EQ(field(IndexComparisons[1].baseRate), text) << ik;
    }
}

TEST_F(IndexComparisonsTest, FullScaleAgainstGaiTakesItsLevelFromGai) {
    setIndex(HIK, 125);
    setIndex(GAI, 115);
    computeIndexComparisons(INDEX_BASE_ABILITY);
    EXPECT_EQ(field(IndexComparisons[6].title), "Hela skalan - General Ability Index");
    EXPECT_EQ(field(IndexComparisons[6].level), ".05");
    EXPECT_EQ(field(IndexComparisons[6].criticalValue), "4.27");
    EXPECT_EQ(field(IndexComparisons[6].baseRate), "0.9%"); // 110-119, not >= 120 (0.0)

    setIndex(HIK, 100);
    setIndex(GAI, 105);
    computeIndexComparisons(INDEX_BASE_WHOLE_GROUP);
    EXPECT_EQ(field(IndexComparisons[6].baseRate), "21.9%");
}

TEST_F(IndexComparisonsTest, UnknownBasisLeavesOnlyTheBaseRateEmpty) {
    setIndex(VFI, 110);
    setIndex(PFI, 96);
    setIndex(HIK, 105);
    setIndex(GAI, 104);
    setScaled(SUB_SIFFERREPETITION, 10);
    setScaled(SUB_ARITMETIK, 10);
    computeIndexComparisons(2);
    EXPECT_EQ(field(IndexComparisons[0].level), ".15");
    EXPECT_EQ(IndexComparisons[0].baseRate[0], '\0');
    EXPECT_EQ(IndexComparisons[6].baseRate[0], '\0');
    EXPECT_EQ(field(IndexComparisons[7].baseRate), "100.0%"); // subtest pairs ignore the basis
}

// --- Unknown age band ------------------------------------------------------------------------

TEST_F(IndexComparisonsTest, UnknownAgeBandReturnsZeroSilentlyAndKeepsTheLastRows) {
    setIndex(VFI, 100);
    setIndex(PFI, 100);
    computeIndexComparisons(INDEX_BASE_WHOLE_GROUP);
    ASSERT_EQ(pairNsMarked, 1);

    // The analysis only reports the condition: the message is the caller's to show, outside
    // painting, so repeated paints raise no box.
    for (const char* band : {"Referensgrupp", "", "25-29"}) {
        setBand(band);
        EXPECT_EQ(computeIndexComparisons(INDEX_BASE_WHOLE_GROUP), 0) << band;
        EXPECT_EQ(field(IndexComparisons[0].level), "ns*") << band;
        EXPECT_EQ(pairNsMarked, 0) << band;
    }
    EXPECT_TRUE(messages.requests().empty());
}

} // namespace
