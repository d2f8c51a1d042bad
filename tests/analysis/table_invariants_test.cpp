// SPDX-License-Identifier: Apache-2.0
#include "comparison_tables.h"
#include "process_tables.h"
#include "strength_weakness_tables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool oneDecimal(double value) {
    return std::fabs(value * 10.0 - std::round(value * 10.0)) < 1e-9 && value >= 0.0 &&
           value <= 100.0;
}

bool twoDecimals(double value) {
    return std::fabs(value * 100.0 - std::round(value * 100.0)) < 1e-9;
}

// A base-rate column read from the largest threshold down to T = 0: one decimal, never falling,
// ending in 100.0.
template <typename Cell> void expectBaseRateColumn(int rows, Cell cell, const char* what) {
    for (int row = 0; row < rows; ++row) {
        EXPECT_TRUE(oneDecimal(cell(row))) << what << " row " << row;
        if (row > 0) {
            EXPECT_LE(cell(row - 1), cell(row)) << what << " row " << row;
        }
    }
    EXPECT_EQ(cell(rows - 1), 100.0) << what;
}

TEST(TableInvariants, IndexPairBaseRatesAreMonotoneWithOneDecimal) {
    for (int table = 0; table < kAbilityTableCount; ++table) {
        for (int direction = 0; direction < 2; ++direction) {
            for (int pair = 0; pair < kIndexPairCount; ++pair) {
                expectBaseRateColumn(
                    kIndexPairRateRows,
                    [&](int row) { return INDEX_PAIR_BASE_RATE[table][direction][row][pair]; },
                    "index pair");
                EXPECT_LT(INDEX_PAIR_BASE_RATE[table][direction][kIndexPairTopT - 1][pair], 100.0);
            }
        }
    }
}

TEST(TableInvariants, PublishedWholeGroupRowsArePresentAsPublished) {
    struct Row {
        int t;
        double higher[6];
        double lower[6];
    };
    const Row rows[] = {
        {40, {0.4, 0.4, 2.4, 0.1, 1.3, 1.3}, {0.7, 0.6, 1.0, 0.4, 0.6, 0.6}},
        {30, {3.5, 2.9, 5.4, 1.9, 4.9, 3.8}, {2.6, 2.9, 4.9, 2.4, 4.0, 3.1}},
        {20, {10.5, 10.1, 13.8, 8.7, 12.9, 12.7}, {9.8, 9.4, 13.8, 8.3, 12.6, 12.4}},
        {15, {16.6, 17.3, 19.9, 16.2, 20.8, 17.8}, {18.6, 18.3, 20.8, 15.8, 21.8, 17.8}},
        {10, {26.7, 25.9, 29.4, 26.6, 29.3, 26.8}, {27.8, 27.4, 30.6, 25.2, 30.7, 28.8}},
        {5, {38.0, 38.0, 40.1, 37.6, 39.9, 39.1}, {37.7, 37.5, 41.0, 37.2, 40.3, 40.3}},
        {1, {49.3, 48.3, 48.8, 50.2, 49.9, 46.0}, {46.8, 48.7, 49.6, 48.1, 48.8, 50.5}},
        {0, {100, 100, 100, 100, 100, 100}, {100, 100, 100, 100, 100, 100}},
    };
    for (const Row& r : rows) {
        for (int pair = 0; pair < kIndexPairCount; ++pair) {
            EXPECT_EQ(INDEX_PAIR_BASE_RATE[0][0][kIndexPairTopT - r.t][pair], r.higher[pair])
                << "T " << r.t << " pair " << pair;
            EXPECT_EQ(INDEX_PAIR_BASE_RATE[0][1][kIndexPairTopT - r.t][pair], r.lower[pair])
                << "T " << r.t << " pair " << pair;
        }
    }
    EXPECT_EQ(INDEX_PAIR_BASE_RATE[0][0][kIndexPairTopT - 14][0], 18.6);
    EXPECT_EQ(INDEX_PAIR_BASE_RATE[0][1][kIndexPairTopT - 14][0], 21.5);
}

TEST(TableInvariants, LowestLevelHasNoLargeFirstHigherDifferencesBesideVfiPfi) {
    for (int t = 30; t <= kIndexPairTopT; ++t) {
        for (int pair = 1; pair < kIndexPairCount; ++pair) {
            EXPECT_EQ(INDEX_PAIR_BASE_RATE[1][0][kIndexPairTopT - t][pair], 0.0)
                << "T " << t << " pair " << pair;
        }
    }
}

TEST(TableInvariants, OtherBaseRateTablesAreMonotoneWithOneDecimal) {
    for (int column = 0; column < kAbilityTableCount * 2; ++column) {
        expectBaseRateColumn(
            kHikGaiRateRows, [&](int row) { return HIK_GAI_BASE_RATE[row][column]; }, "HIK-GAI");
    }
    for (int column = 0; column < kSubtestPairCount * 2; ++column) {
        expectBaseRateColumn(
            kSubtestPairRateRows, [&](int row) { return SUBTEST_PAIR_BASE_RATE[row][column]; },
            "subtest pair");
    }
    for (int column = 0; column < kProcessPairCount * 2; ++column) {
        expectBaseRateColumn(
            kProcessPairRateRows, [&](int row) { return PROCESS_PAIR_BASE_RATE[row][column]; },
            "process pair");
    }
}

TEST(TableInvariants, SpanSharesGrowAsTheSpanOrTheDifferenceShrinks) {
    for (int band = 0; band < kAgeBandCount; ++band) {
        for (int span = 0; span < kSpanCount; ++span) {
            if (span == 3 && band >= kSpanBandsOfBo) {
                for (int row = 0; row < kSpanTopRaw; ++row) {
                    EXPECT_EQ(SPAN_CUMULATIVE[span][row][band], kNoNorm);
                }
                continue;
            }
            expectBaseRateColumn(
                kSpanTopRaw, [&](int row) { return SPAN_CUMULATIVE[span][row][band]; }, "span");
        }
        for (int pair = 0; pair < kSpanPairCount; ++pair) {
            for (int direction = 0; direction < 2; ++direction) {
                expectBaseRateColumn(
                    kSpanDiffTop + 1,
                    [&](int row) {
                        return SPAN_DIFF_BASE_RATE[pair][direction][kSpanDiffTop - row][band];
                    },
                    "span difference");
            }
        }
    }
}

TEST(TableInvariants, CriticalValuesHaveTwoDecimalsAndC15BelowC05) {
    auto check = [](CriticalValues c) {
        EXPECT_TRUE(twoDecimals(c.c15) && twoDecimals(c.c05)) << c.c15 << " / " << c.c05;
        EXPECT_LT(c.c15, c.c05);
    };
    for (const auto& band : INDEX_PAIR_CRITICAL) {
        for (CriticalValues c : band) {
            check(c);
        }
    }
    for (CriticalValues c : HIK_GAI_CRITICAL) {
        check(c);
    }
    for (CriticalValues c : SUBTEST_PAIR_CRITICAL) {
        check(c);
    }
    for (CriticalValues c : PROCESS_PAIR_CRITICAL) {
        check(c);
    }
    for (const SwTableRow* table : {SW_TOTAL_MEAN_TABLE, SW_INDEX_MEAN_TABLE}) {
        for (int row = 0; row < kSwRowCount; ++row) {
            check({table[row].c15, table[row].c05});
            for (int band = 1; band < kSwBandCount; ++band) {
                EXPECT_LT(table[row].bands[band], table[row].bands[band - 1]) << row;
            }
        }
    }
}

} // namespace
