// SPDX-License-Identifier: Apache-2.0
#include "demo_norms.h"
#include "subtest_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const char* const kBandTexts[] = {"16-17 år", "18-19 år", "20-24 år", "25-29 år", "30-34 år",
                                  "35-44 år", "45-54 år", "55-64 år", "65-69 år", "70-74 år",
                                  "75-79 år", "80-84 år", "85-90 år"};
// Form maxima in subscale order; Sifferrepetition is the sum of three parts of 16.
const int kMax[] = {66, 48, 36, 48, 16, 16, 16, 26, 57, 22, 60, 26, 26, 135, 30, 27, 36, 72, 24};
constexpr int kGroups = 14;
constexpr int kKeyCount = 19;
constexpr int kBand2024 = 2, kBand2529 = 3, kBand3544 = 5, kBand6569 = 8, kBand7074 = 9,
              kBand8590 = 12, kReference = 13;

bool withoutNormsFrom70(int key) {
    return key == SUB_BSS || key == SUB_FIGURVIKTER || key == SUB_OVERSTRYKNING;
}

const NormRow& row(const std::vector<NormRow>& rows, int group, int key) {
    return rows[static_cast<std::size_t>(group * kKeyCount + key)];
}

// Median raw score of a band as a fraction of that of 25-29 år.
double medianRatio(const std::vector<NormRow>& rows, int band, int key) {
    return static_cast<double>(row(rows, band, key).S[9]) / row(rows, kBand2529, key).S[9];
}

TEST(DemoNormGroups, AgeBandsInOrderThenReferenceGroup) {
    const auto groups = demoNormGroups();
    ASSERT_EQ(groups.size(), 14u);
    for (int g = 0; g < 13; ++g) {
        EXPECT_EQ(groups[g].delgrupp, kBandTexts[g]);
        EXPECT_EQ(groups[g].beskrivning, kBandTexts[g]);
    }
    EXPECT_EQ(groups[13].delgrupp, "Referensgrupp");
    EXPECT_EQ(groups[13].beskrivning, "Referensgrupp (20-34 år)");
    for (int g = 0; g < kGroups; ++g)
        EXPECT_EQ(groups[g].sekvens, g + 1);
}

TEST(DemoNormRows, OneRowPerSubscaleAndSubgroupWithValidBounds) {
    const auto rows = demoNormRows();
    const auto groups = demoNormGroups();
    ASSERT_EQ(rows.size(), 266u);
    for (int g = 0; g < kGroups; ++g) {
        for (int k = 0; k < kKeyCount; ++k) {
            const NormRow& r = row(rows, g, k);
            SCOPED_TRACE(r.delskala + " " + r.delgrupp);
            EXPECT_EQ(r.delgrupp, groups[g].delgrupp);
            EXPECT_EQ(r.delskala, kDelskala[k]);
            if (g >= kBand7074 && g <= kBand8590 && withoutNormsFrom70(k)) {
                EXPECT_TRUE(std::all_of(r.S, r.S + 19, [](int s) { return s == -9; }));
                continue;
            }
            EXPECT_GE(r.S[0], 0);
            EXPECT_TRUE(std::is_sorted(r.S, r.S + 19));
            EXPECT_EQ(r.S[18], kMax[k]);
            EXPECT_LT(r.S[17], r.S[18]); // scaled score 19 can be reached
        }
    }
}

TEST(DemoNormRows, MedianRisesToAPeakBetween20And44ThenFalls) {
    const auto rows = demoNormRows();
    for (int k = 0; k < kKeyCount; ++k) {
        SCOPED_TRACE(kDelskala[k]);
        const int last = withoutNormsFrom70(k) ? kBand6569 : kBand8590;
        int peak = 0; // the youngest band with the highest median
        for (int b = 1; b <= last; ++b) {
            if (row(rows, b, k).S[9] > row(rows, peak, k).S[9])
                peak = b;
        }
        bool peakBetween20And44 = false;
        for (int b = kBand2024; b <= kBand3544; ++b)
            peakBetween20And44 |= row(rows, b, k).S[9] == row(rows, peak, k).S[9];
        EXPECT_TRUE(peakBetween20And44);
        for (int b = 1; b <= last; ++b) {
            const int step = row(rows, b, k).S[9] - row(rows, b - 1, k).S[9];
            EXPECT_TRUE(b <= peak ? step >= 0 : step <= 0) << kBandTexts[b];
        }
        EXPECT_LT(row(rows, last, k).S[9], row(rows, peak, k).S[9]);
    }
}

TEST(DemoNormRows, SpeedSubtestsDeclineFasterThanVerbalOnes) {
    const auto rows = demoNormRows();
    for (int speed : {SUB_SYMBOLLETNING, SUB_KODNING, SUB_OVERSTRYKNING}) {
        for (int verbal : {SUB_LIKHETER, SUB_ORDFORRAD, SUB_INFORMATION, SUB_FORSTAELSE}) {
            EXPECT_LT(medianRatio(rows, kBand6569, speed), medianRatio(rows, kBand6569, verbal))
                << kDelskala[speed] << " vs " << kDelskala[verbal];
            if (speed != SUB_OVERSTRYKNING) { // no norms from 70
                EXPECT_LT(medianRatio(rows, kBand8590, speed) + 0.15,
                          medianRatio(rows, kBand8590, verbal))
                    << kDelskala[speed] << " vs " << kDelskala[verbal];
            }
        }
    }
}

TEST(DemoNormRows, ReferenceGroupFollowsThe20To34Bands) {
    const auto rows = demoNormRows();
    for (int k = 0; k < kKeyCount; ++k) {
        for (int s = 0; s < 18; ++s) {
            int low = 1000, high = -1000;
            for (int b = kBand2024; b <= kBand2024 + 2; ++b) {
                low = std::min(low, row(rows, b, k).S[s]);
                high = std::max(high, row(rows, b, k).S[s]);
            }
            const int ref = row(rows, kReference, k).S[s];
            EXPECT_TRUE(ref >= low - 1 && ref <= high + 1) << kDelskala[k] << " S" << s + 1;
        }
    }
}

TEST(DemoIndexNorms, EverySumOnceWithMonotoneScoresAndPercentiles) {
    struct Range {
        const char* key;
        int n;
    };
    const Range ranges[] = {{"VFI", 3}, {"PFI", 3}, {"AI", 2}, {"SI", 2}, {"HIK", 10}, {"GAI", 6}};
    const auto rows = demoIndexNormRows();
    std::size_t i = 0;
    for (const Range& range : ranges) {
        SCOPED_TRACE(range.key);
        const std::size_t first = i;
        for (int skal = range.n; skal <= 19 * range.n; ++skal, ++i) {
            ASSERT_LT(i, rows.size());
            const IndexNormRow& r = rows[i];
            EXPECT_EQ(r.index, range.key);
            EXPECT_EQ(r.skal, skal);
            EXPECT_TRUE(r.ik >= 40 && r.ik <= 160) << skal;
            EXPECT_NEAR(r.perc * 10, std::round(r.perc * 10), 1e-3) << skal;
            if (skal == 10 * range.n) {
                EXPECT_TRUE(r.ik == 100 && r.perc == 50.0f);
            }
            // Correlated subtests widen the sum: one uncorrelated SD above the mean stays under
            // 115.
            if (skal == 10 * range.n + static_cast<int>(std::ceil(3 * std::sqrt(range.n)))) {
                EXPECT_LT(r.ik, 115);
            }
            if (i > first) {
                EXPECT_TRUE(r.ik >= rows[i - 1].ik && r.perc >= rows[i - 1].perc) << skal;
            }
        }
        EXPECT_EQ(rows[first].perc, 0.0f);
        EXPECT_EQ(rows[i - 1].perc, 100.0f);
    }
    EXPECT_EQ(i, rows.size());
    const auto hik =
        std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.index == "HIK"; });
    EXPECT_EQ(hik->ik, 40);
    EXPECT_EQ((hik + 180)->ik, 160);
}

TEST(DemoIndexNorms, IntervalsNestAroundTheScoreAndLeanTowardsTheMean) {
    int width90AtMean[2] = {};
    for (const IndexNormRow& r : demoIndexNormRows()) {
        SCOPED_TRACE(r.index + " " + std::to_string(r.skal));
        EXPECT_GE(r.low95, 40);
        EXPECT_LE(r.low95, r.low90);
        EXPECT_LE(r.low90, r.ik);
        EXPECT_LE(r.ik, r.high90);
        EXPECT_LE(r.high90, r.high95);
        EXPECT_LE(r.high95, 160);
        if (r.ik >= 120) {
            EXPECT_GT(r.ik - r.low90, r.high90 - r.ik);
        }
        if (r.ik == 100 && (r.index == "SI" || r.index == "HIK"))
            width90AtMean[r.index == "HIK"] = r.high90 - r.low90;
    }
    EXPECT_GT(width90AtMean[0], width90AtMean[1]); // SI is less reliable than HIK
}

TEST(DemoNorms, Deterministic) {
    const auto a = demoNormRows(), b = demoNormRows();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_TRUE(std::equal(a[i].S, a[i].S + 19, b[i].S));
    const auto x = demoIndexNormRows(), y = demoIndexNormRows();
    ASSERT_EQ(x.size(), y.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        EXPECT_TRUE(x[i].ik == y[i].ik && x[i].perc == y[i].perc && x[i].low90 == y[i].low90 &&
                    x[i].high90 == y[i].high90 && x[i].low95 == y[i].low95 &&
                    x[i].high95 == y[i].high95);
}

} // namespace
