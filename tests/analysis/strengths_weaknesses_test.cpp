// SPDX-License-Identifier: Apache-2.0
#include "occasion_fixture.h"
#include "pair_rating.h"
#include "strengths_weaknesses.h"

#include <string>

namespace {

std::string field(const char* text) {
    return text;
}

constexpr Subscale kCore[10] = {
    SUB_BLOCKMONSTER, SUB_LIKHETER,      SUB_SIFFERREPETITION, SUB_MATRISER,    SUB_ORDFORRAD,
    SUB_ARITMETIK,    SUB_SYMBOLLETNING, SUB_VISUELLAPUSSEL,   SUB_INFORMATION, SUB_KODNING};

class StrengthsWeaknessesTest : public OccasionTest {
  protected:
    // Ten core scaled scores in administration order; the index records are set as the index
    // computation would set them with every core subtest given.
    void setCore(const int (&scores)[10]) {
        for (int i = 0; i < 10; ++i) {
            setScaled(kCore[i], scores[i]);
        }
        setSums(VFI, scores[1] + scores[4] + scores[8], 3);
        setSums(PFI, scores[0] + scores[3] + scores[7], 3);
        setSums(AI, scores[2] + scores[5], 2);
        setSums(SI, scores[6] + scores[9], 2);
        int total = 0;
        for (int s : scores) {
            total += s;
        }
        setSums(HIK, total, 10);
    }

    static void setSums(IndexKey key, int sum, int count) {
        occasion().indexes[key].sum = sum;
        occasion().indexes[key].count = count;
        occasion().indexes[key].valid = 1;
    }
};

TEST(RoundTo2, HalvesGoAwayFromZeroAndEvenHundredthsRoundUpAbove4999) {
    const double cases[][2] = {
        {14 - static_cast<double>(10.3f), 3.70}, // 3.6999998...
        {12 - static_cast<double>(31 * 0.33333334f), 1.67},
        {0.125, 0.13},       // even, exactly half
        {0.1249995, 0.13},   // even, fraction 0.49995 > 0.4999
        {0.124995, 0.12},    // even, fraction 0.4995
        {0.1149995, 0.11},   // odd, fraction just under a half
        {0.1150001, 0.12},   // odd, half reached
        {-3.6999998, -3.70}, // the sign is kept
        {0.0, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(roundTo2(c[0]), c[1]) << c[0];
    }
}

TEST_F(StrengthsWeaknessesTest, SymbolletningAboveTheTotalMeanIsAStrength) {
    setCore({10, 10, 10, 10, 10, 10, 14, 10, 10, 9}); // sum 103
    ASSERT_EQ(computeStrengthsWeaknesses(SW_BASE_TOTAL), SW_TOTAL_MEAN);
    const StrengthWeaknessRow& row = StrengthsWeaknesses[6];
    EXPECT_EQ(field(row.number), "7");
    EXPECT_EQ(field(row.name), "Symbolletning");
    EXPECT_EQ(field(row.scaledScore), "14");
    EXPECT_EQ(field(row.mean), "10.30");
    EXPECT_EQ(field(row.difference), "3.70");
    EXPECT_EQ(field(row.level), ".05");
    EXPECT_EQ(field(row.criticalValue), "3.43");
    EXPECT_EQ(field(row.mark), "+");
    EXPECT_EQ(field(row.baseRate), "16 - 25%");
    // Kodning 9: -1.30, not significant and the first such row.
    EXPECT_EQ(field(StrengthsWeaknesses[0].level), "ns*");
    EXPECT_EQ(field(StrengthsWeaknesses[9].difference), "-1.30");
    EXPECT_EQ(field(StrengthsWeaknesses[9].level), "ns");
    EXPECT_EQ(StrengthsWeaknesses[10].number[0], '\0');
}

TEST_F(StrengthsWeaknessesTest, LikheterAgainstTheVerbalMeanIsNotSignificant) {
    setCore({10, 12, 10, 10, 10, 10, 10, 10, 9, 10}); // VFI sum 31
    ASSERT_EQ(computeStrengthsWeaknesses(SW_BASE_INDEX), SW_INDEX_MEANS);
    const StrengthWeaknessRow& row = StrengthsWeaknesses[0];
    EXPECT_EQ(field(row.name), "Likheter");
    EXPECT_EQ(field(row.mean), "10.33");
    EXPECT_EQ(field(row.difference), "1.67");
    EXPECT_EQ(field(row.level), "ns*");
    EXPECT_EQ(field(row.mark), " ");
    EXPECT_EQ(row.criticalValue[0], '\0');
    EXPECT_EQ(field(row.baseRate), "> 25%");
    EXPECT_EQ(field(StrengthsWeaknesses[1].level), "ns");
    EXPECT_EQ(swNsMarked, 1);
}

TEST_F(StrengthsWeaknessesTest, DifferenceEqualToAPrintedValueReachesIt) {
    setCore({10, 12, 10, 10, 9, 10, 10, 10, 8, 10}); // VFI sum 29, Likheter 2.33 above it
    computeStrengthsWeaknesses(SW_BASE_INDEX);
    const StrengthWeaknessRow& row = StrengthsWeaknesses[0];
    EXPECT_EQ(field(row.difference), "2.33");
    EXPECT_EQ(field(row.level), ".15");
    EXPECT_EQ(field(row.criticalValue), "2.24");
    EXPECT_EQ(field(row.baseRate), "11 - 15%");

    setCore({7, 7, 7, 7, 7, 7, 7, 10, 8, 8}); // sum 75: Visuella pussel 10 - 7.5
    computeStrengthsWeaknesses(SW_BASE_TOTAL);
    EXPECT_EQ(field(StrengthsWeaknesses[7].difference), "2.50");
    EXPECT_EQ(field(StrengthsWeaknesses[7].level), ".05");
    EXPECT_EQ(field(StrengthsWeaknesses[7].criticalValue), "2.50");
}

TEST_F(StrengthsWeaknessesTest, StatusFollowsTheAvailableMeans) {
    struct Case {
        int swBase, vfiCount, pfiCount, hikCount, status;
    };
    const Case cases[] = {
        {SW_BASE_TOTAL, 3, 3, 10, SW_TOTAL_MEAN},  {SW_BASE_TOTAL, 3, 3, 9, SW_NO_TOTAL_MEAN},
        {SW_BASE_INDEX, 3, 3, 10, SW_INDEX_MEANS}, {SW_BASE_INDEX, 2, 3, 10, SW_NO_VFI_MEAN},
        {SW_BASE_INDEX, 3, 2, 10, SW_NO_PFI_MEAN}, {SW_BASE_INDEX, 2, 2, 10, SW_NO_INDEX_MEAN},
        {SW_BASE_INDEX, 3, 3, 9, SW_INDEX_MEANS},  {2, 3, 3, 10, SW_OTHER_BASE},
    };
    for (const Case& c : cases) {
        SetUp();
        setCore({10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
        occasion().indexes[VFI].count = c.vfiCount;
        occasion().indexes[PFI].count = c.pfiCount;
        occasion().indexes[HIK].count = c.hikCount;
        EXPECT_EQ(computeStrengthsWeaknesses(c.swBase), c.status)
            << c.swBase << " " << c.vfiCount << " " << c.pfiCount << " " << c.hikCount;
    }
}

TEST_F(StrengthsWeaknessesTest, RowsWithoutTheirMeanShowOnlyNumberAndName) {
    setCore({10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    occasion().indexes[PFI].count = 2;
    ASSERT_EQ(computeStrengthsWeaknesses(SW_BASE_INDEX), SW_NO_PFI_MEAN);
    EXPECT_EQ(field(StrengthsWeaknesses[3].number), "1");
    EXPECT_EQ(field(StrengthsWeaknesses[3].name), "Blockmönster");
    EXPECT_EQ(StrengthsWeaknesses[3].scaledScore[0], '\0');
    EXPECT_EQ(field(StrengthsWeaknesses[6].mean), "10.00"); // Sifferrepetition, total mean

    occasion().indexes[PFI].count = 3;
    occasion().indexes[AI].valid = 0; // no total mean
    ASSERT_EQ(computeStrengthsWeaknesses(SW_BASE_INDEX), SW_INDEX_MEANS);
    EXPECT_EQ(field(StrengthsWeaknesses[9].name), "Kodning");
    EXPECT_EQ(StrengthsWeaknesses[9].scaledScore[0], '\0');
    EXPECT_EQ(field(StrengthsWeaknesses[3].difference), "0.00");
}

TEST_F(StrengthsWeaknessesTest, SameSubtestUsesTheValuesOfTheTableInUse) {
    setCore({13, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    computeStrengthsWeaknesses(SW_BASE_TOTAL); // 13 - 10.30 = 2.70 against 2.45 / 2.83
    EXPECT_EQ(field(StrengthsWeaknesses[0].level), ".15");
    EXPECT_EQ(field(StrengthsWeaknesses[0].baseRate), "16 - 25%");
    computeStrengthsWeaknesses(SW_BASE_INDEX); // 13 - 11.00 = 2.00 against 1.63 / 1.99
    EXPECT_EQ(field(StrengthsWeaknesses[3].name), "Blockmönster");
    EXPECT_EQ(field(StrengthsWeaknesses[3].level), ".05");
    EXPECT_EQ(field(StrengthsWeaknesses[3].criticalValue), "1.99");
    EXPECT_EQ(field(StrengthsWeaknesses[3].baseRate), "16 - 25%");
    EXPECT_EQ(field(StrengthsWeaknesses[4].difference), "-1.00");
}

TEST_F(StrengthsWeaknessesTest, NotAdministeredCoreSubtestShowsMinusNine) {
    setCore({10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    occasion().RawScores[RAW_INFORMATION] = NOT_ADMINISTERED; // a substitute keeps the count
    computeStrengthsWeaknesses(SW_BASE_TOTAL);
    EXPECT_EQ(field(StrengthsWeaknesses[8].name), "Information");
    EXPECT_EQ(field(StrengthsWeaknesses[8].scaledScore), "-9");
    EXPECT_EQ(StrengthsWeaknesses[8].level[0], '\0');
}

TEST_F(StrengthsWeaknessesTest, ItsFlagIsIndependentOfThePairFlag) {
    setCore({16, 4, 16, 4, 16, 4, 16, 4, 16, 4}); // every row 6 from the mean
    pairNsMarked = 1;
    computeStrengthsWeaknesses(SW_BASE_TOTAL);
    EXPECT_EQ(swNsMarked, 0);
    EXPECT_EQ(pairNsMarked, 1);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(field(StrengthsWeaknesses[row].level), ".05") << row;
    }
}

} // namespace
