// SPDX-License-Identifier: Apache-2.0
#include "index_scores.h"
#include "proration_tables.h"
#include "scoring_fixture.h"

#include <cstring>

namespace {

TEST(ProrationTables, RuleAndEveryTellingRow) {
    const struct {
        std::span<const int> table;
        std::size_t size;
        int firstNonZero;
        std::vector<std::pair<int, int>> rows;
    } tables[] = {
        {PRORATE_2_TO_3,
         39,
         2,
         {{1, 0}, {2, 3}, {3, 5}, {4, 6}, {5, 8}, {17, 26}, {20, 30}, {37, 56}, {38, 57}}},
        {PRORATE_8_TO_10,
         153,
         8,
         {{7, 0}, {8, 10}, {9, 11}, {10, 13}, {11, 14}, {80, 100}, {151, 189}, {152, 190}}},
        {PRORATE_9_TO_10,
         172,
         9,
         {{8, 0}, {9, 10}, {13, 14}, {14, 16}, {90, 100}, {170, 189}, {171, 190}}},
    };
    for (const auto& t : tables) {
        EXPECT_EQ(t.table.size(), t.size);
        for (int sum = 0; sum < t.firstNonZero; ++sum) {
            EXPECT_EQ(t.table[static_cast<std::size_t>(sum)], 0) << sum;
        }
        for (const auto& [sum, estimate] : t.rows) {
            EXPECT_EQ(t.table[static_cast<std::size_t>(sum)], estimate) << t.size << ": " << sum;
        }
    }
    // Out-of-range sums never read past the table.
    EXPECT_EQ(prorate(PRORATE_2_TO_3, 39), 57);
    EXPECT_EQ(prorate(PRORATE_2_TO_3, -1), 0);
}

// Sets raw and scaled scores directly and runs the index computation against hand-made index
// rows, as the conversion would at its end.
class IndexScores : public ScoringTest {
  protected:
    void SetUp() override {
        ScoringTest::SetUp();
        insertIndexRows();
    }

    void give(int rawScore, int scaled, int raw = 10) {
        occasion_.RawScores[rawScore] = raw;
        occasion_.ScaledScores[kSubtests[rawScore].subscale] = scaled;
    }
    void giveAllCores(int scaled) {
        for (const int raw : {RAW_LIKHETER, RAW_ORDFORRAD, RAW_INFORMATION, RAW_BLOCKMONSTER,
                              RAW_MATRISER, RAW_VISUELLAPUSSEL, RAW_SIFFERREPETITION, RAW_ARITMETIK,
                              RAW_SYMBOLLETNING, RAW_KODNING}) {
            give(raw, scaled);
        }
    }
    void drop(int rawScore) { occasion_.RawScores[rawScore] = NOT_ADMINISTERED; }
    void score() {
        for (int key = VFI; key <= HIK; ++key) {
            occasion_.indexes[key] = IndexResult{};
        }
        computeIndexScores(occasion_);
    }
    const IndexResult& index(int key) const { return occasion_.indexes[key]; }
};

TEST_F(IndexScores, AllTenCoreSubtestsGiveEveryIndex) {
    giveAllCores(10);
    give(RAW_LIKHETER, 12);
    score();
    EXPECT_EQ(index(VFI).sum, 32);
    EXPECT_EQ(index(PFI).sum, 30);
    EXPECT_EQ(index(AI).sum, 20);
    EXPECT_EQ(index(SI).sum, 20);
    EXPECT_EQ(index(HIK).sum, 102);
    EXPECT_EQ(index(HIK).count, 10);
    EXPECT_EQ(index(GAI).sum, 62);
    for (const IndexResult& result : occasion_.indexes) {
        EXPECT_EQ(result.valid, 1);
        EXPECT_EQ(result.prorated, 0);
        EXPECT_EQ(result.substituted, 0);
    }
    EXPECT_EQ(index(VFI).IK, expectedIk("VFI", 32));
    EXPECT_FLOAT_EQ(index(VFI).PERC, 16.0f);
    EXPECT_EQ(index(VFI).KONF_LOW90, expectedIk("VFI", 32) - 5);
    EXPECT_EQ(index(VFI).KONF_HIGH95, expectedIk("VFI", 32) + 7);
    EXPECT_EQ(index(HIK).IK, expectedIk("HIK", 102));
    EXPECT_EQ(index(GAI).IK, expectedIk("GAI", 62));
}

TEST_F(IndexScores, VerbalSubstituteThenProration) {
    giveAllCores(10);
    drop(RAW_INFORMATION);
    give(RAW_FORSTAELSE, 7);
    score();
    EXPECT_EQ(index(VFI).count, 3);
    EXPECT_EQ(index(VFI).substituted, 1);
    EXPECT_EQ(index(VFI).sum, 27);
    EXPECT_EQ(index(VFI).valid, 1);

    drop(RAW_FORSTAELSE);
    give(RAW_LIKHETER, 9);
    give(RAW_ORDFORRAD, 8);
    score();
    EXPECT_EQ(index(VFI).count, 2);
    EXPECT_EQ(index(VFI).unproratedSum, 17);
    EXPECT_EQ(index(VFI).sum, 26); // 25.5 rounded up
    EXPECT_EQ(index(VFI).prorated, 1);
    EXPECT_EQ(index(VFI).substituted, 0);
    EXPECT_EQ(index(VFI).valid, 1);
}

TEST_F(IndexScores, PerceptualSubstituteDependsOnTheAgeLine) {
    giveAllCores(10);
    drop(RAW_MATRISER);
    give(RAW_FIGURVIKTER, 4);
    give(RAW_BILDKOMPLETTERING, 15);
    setAge(69, 30);
    score();
    EXPECT_EQ(index(PFI).sum, 24); // Figurvikter
    setAge(70);
    score();
    EXPECT_EQ(index(PFI).sum, 35); // Bildkomplettering
    EXPECT_EQ(index(PFI).substituted, 1);
    EXPECT_EQ(index(PFI).count, 3);
}

TEST_F(IndexScores, TwoMissingCoreSubtestsLeaveTheIndexInvalid) {
    giveAllCores(10);
    drop(RAW_MATRISER);
    drop(RAW_BLOCKMONSTER);
    give(RAW_BILDKOMPLETTERING, 15);
    score();
    EXPECT_EQ(index(PFI).valid, 0);
    EXPECT_EQ(index(PFI).sum, 0);
    EXPECT_EQ(index(PFI).count, 1);
    EXPECT_EQ(index(GAI).valid, 0);
    // The lookup still runs, for the sum clamped into the range.
    EXPECT_EQ(index(PFI).IK, expectedIk("PFI", 3));
}

TEST_F(IndexScores, WorkingMemorySubstituteOnlyUnderSeventy) {
    giveAllCores(10);
    drop(RAW_ARITMETIK);
    give(RAW_BSS, 12);
    setAge(69);
    score();
    EXPECT_EQ(index(AI).valid, 1);
    EXPECT_EQ(index(AI).sum, 22);
    EXPECT_EQ(index(AI).substituted, 1);
    EXPECT_EQ(index(HIK).valid, 1);
    EXPECT_EQ(index(HIK).substitutionCount, 1);

    setAge(75);
    score();
    EXPECT_EQ(index(AI).valid, 0);
    EXPECT_EQ(index(AI).count, 1);
    EXPECT_EQ(index(AI).sum, 10);
    // The full scale from nine subtests: 90 * 10 / 9.
    EXPECT_EQ(index(HIK).count, 9);
    EXPECT_EQ(index(HIK).valid, 1);
    EXPECT_EQ(index(HIK).prorated, 1);
    EXPECT_EQ(index(HIK).sum, 100);
    EXPECT_EQ(index(HIK).IK, expectedIk("HIK", 100));
}

TEST_F(IndexScores, SubstituteAloneNeverMakesAValidIndex) {
    giveAllCores(10);
    drop(RAW_SYMBOLLETNING);
    drop(RAW_KODNING);
    give(RAW_OVERSTRYKNING, 9);
    score();
    EXPECT_EQ(index(SI).valid, 0);
    EXPECT_EQ(index(SI).count, 1);
    EXPECT_EQ(index(SI).sum, 9);
    EXPECT_EQ(index(SI).substituted, 1);
}

TEST_F(IndexScores, TwoZeroRawScoresInvalidateTheIndexAndTheFullScale) {
    giveAllCores(10);
    give(RAW_SYMBOLLETNING, 1, 0);
    give(RAW_KODNING, 1, 0);
    score();
    EXPECT_EQ(index(SI).zeroCount, 2);
    EXPECT_EQ(index(SI).valid, 0);
    EXPECT_EQ(index(HIK).valid, 0);
    EXPECT_EQ(index(HIK).prorated, 0);

    // A substitute with raw score 0 counts as a zero as well.
    giveAllCores(10);
    give(RAW_LIKHETER, 1, 0);
    drop(RAW_INFORMATION);
    give(RAW_FORSTAELSE, 1, 0);
    score();
    EXPECT_EQ(index(VFI).zeroCount, 2);
    EXPECT_EQ(index(VFI).valid, 0);
}

TEST_F(IndexScores, SubstitutesInThreeIndexesInvalidateTheFullScale) {
    giveAllCores(10);
    setAge(40);
    drop(RAW_INFORMATION);
    give(RAW_FORSTAELSE, 10);
    drop(RAW_MATRISER);
    give(RAW_FIGURVIKTER, 10);
    drop(RAW_KODNING);
    give(RAW_OVERSTRYKNING, 10);
    score();
    EXPECT_EQ(index(HIK).substitutionCount, 3);
    EXPECT_EQ(index(HIK).count, 10);
    EXPECT_EQ(index(HIK).valid, 0);
}

TEST_F(IndexScores, AtMostTwoEstimatesEnterTheFullScale) {
    // One substitute and one proration: valid.
    giveAllCores(10);
    drop(RAW_KODNING);
    give(RAW_OVERSTRYKNING, 10);
    drop(RAW_INFORMATION);
    score();
    EXPECT_EQ(index(VFI).prorated, 1);
    EXPECT_EQ(index(HIK).substitutionCount, 1);
    EXPECT_EQ(index(HIK).prorationCount, 1);
    EXPECT_EQ(index(HIK).valid, 1);
    EXPECT_EQ(index(HIK).prorated, 0);

    // And Aritmetik missing as well: estimated from eight subtests, then refused.
    drop(RAW_ARITMETIK);
    setAge(75);
    score();
    EXPECT_EQ(index(HIK).count, 8);
    EXPECT_EQ(index(HIK).unproratedSum, 80);
    EXPECT_EQ(index(HIK).sum, 100); // PRORATE_8_TO_10[80]
    EXPECT_EQ(index(HIK).prorated, 1);
    EXPECT_EQ(index(HIK).valid, 0);
}

TEST_F(IndexScores, BothThreeSubtestIndexesProratedNeedNoFullScaleEstimate) {
    giveAllCores(10);
    drop(RAW_INFORMATION);
    drop(RAW_MATRISER);
    score();
    EXPECT_EQ(index(HIK).count, 8);
    EXPECT_EQ(index(HIK).prorationCount, 2);
    EXPECT_EQ(index(HIK).valid, 1);
    EXPECT_EQ(index(HIK).prorated, 0);
    EXPECT_EQ(index(HIK).sum, 100);          // 30 + 30 + 20 + 20
    EXPECT_EQ(index(HIK).unproratedSum, 80); // 20 + 20 + 20 + 20
    EXPECT_EQ(index(GAI).valid, 1);
    EXPECT_EQ(index(GAI).sum, 60); // the prorated sums
}

TEST_F(IndexScores, FullScaleEstimateRules) {
    // Eight subtests, Perceptual prorated and Snabbhet short: from the eight actually given.
    giveAllCores(10);
    give(RAW_BLOCKMONSTER, 11);
    drop(RAW_MATRISER);
    drop(RAW_KODNING);
    score();
    EXPECT_EQ(index(PFI).sum, 32); // 21 * 3 / 2 = 31.5
    EXPECT_EQ(index(HIK).unproratedSum, 81);
    EXPECT_EQ(index(HIK).sum, PRORATE_8_TO_10[81]);
    EXPECT_EQ(index(HIK).valid, 1);
    EXPECT_EQ(index(HIK).prorated, 1);

    // Both two-subtest indexes short: from the sum with the prorated sums.
    giveAllCores(10);
    drop(RAW_ARITMETIK);
    drop(RAW_SYMBOLLETNING);
    setAge(75);
    score();
    EXPECT_EQ(index(HIK).count, 8);
    EXPECT_EQ(index(HIK).sum, PRORATE_8_TO_10[80]);
    EXPECT_EQ(index(HIK).valid, 1);

    // Snabbhet short alone: nine subtests.
    giveAllCores(10);
    drop(RAW_SYMBOLLETNING);
    score();
    EXPECT_EQ(index(HIK).sum, PRORATE_9_TO_10[90]);
    EXPECT_EQ(index(HIK).valid, 1);
}

TEST_F(IndexScores, GeneralAbilityFollowsVerbalAndPerceptual) {
    giveAllCores(10);
    drop(RAW_INFORMATION);
    give(RAW_FORSTAELSE, 13);
    score();
    EXPECT_EQ(index(GAI).valid, 1);
    EXPECT_EQ(index(GAI).substituted, 1);
    EXPECT_EQ(index(GAI).sum, 63);

    // GAI is not cleared between occasions; an invalid GAI must not keep the former flag.
    drop(RAW_ORDFORRAD);
    drop(RAW_LIKHETER);
    score();
    EXPECT_EQ(index(GAI).valid, 0);
    EXPECT_EQ(index(GAI).sum, 0);
    EXPECT_EQ(index(GAI).substituted, 0);
}

TEST_F(IndexScores, SumsOutsideTheTableAreClampedForTheLookupOnly) {
    setAllRaw(NOT_ADMINISTERED);
    give(RAW_LIKHETER, 1);
    give(RAW_ORDFORRAD, 1);
    give(RAW_INFORMATION, 0, 0);
    score();
    EXPECT_EQ(index(VFI).sum, 2);
    EXPECT_EQ(index(VFI).IK, expectedIk("VFI", 3));
    EXPECT_EQ(index(HIK).sum, 2);
    EXPECT_EQ(index(HIK).IK, expectedIk("HIK", 10));
}

// An index whose norms cannot be read keeps its sum but gets no score, never a former one, and
// says which row is at fault; the other indexes are untouched.
TEST_F(IndexScores, IndexWithoutUsableNormsHasNoScore) {
    const struct {
        const char* damage;
        const char* message;
        bool textInANumberColumn = false; // a server's typed columns refuse it
    } cases[] = {
        {"DELETE FROM INDEX_NORMER WHERE \"INDEX\" = 'GAI'",
         "INDEX_NORMER Standardgrupp GAI har inga rader."},
        {"DELETE FROM INDEX_NORMER WHERE \"INDEX\" = 'GAI' AND SKAL = 60",
         "GAI SKAL 60 finns inte."},
        {"UPDATE INDEX_NORMER SET IK = NULL WHERE \"INDEX\" = 'GAI'",
         "GAI SKAL 60: IK saknar värde"},
        {"UPDATE INDEX_NORMER SET PERC = 'x' WHERE \"INDEX\" = 'GAI'",
         "GAI SKAL 60: PERC saknar värde", true},
        {"UPDATE INDEX_NORMER SET PERC = NULL, KONF_HIGH95 = 'y' WHERE \"INDEX\" = 'GAI'",
         "GAI SKAL 60: PERC, KONF_HIGH95 saknar", true},
        {"UPDATE INDEX_NORMER SET SKAL = 'z' WHERE \"INDEX\" = 'GAI' AND SKAL = 6",
         "GAI: SKAL är inget tal", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        if (c.textInANumberColumn && testingOnServer()) {
            continue;
        }
        exec("DELETE FROM INDEX_NORMER");
        insertIndexRows();
        exec(c.damage);
        messages_.clear();
        giveAllCores(10);
        occasion_.indexes[GAI].IK = 77;
        occasion_.indexes[GAI].PERC = 12.5f;
        score();
        EXPECT_EQ(index(GAI).valid, 1);
        EXPECT_EQ(index(GAI).sum, 60);
        EXPECT_EQ(index(GAI).normMissing, 1);
        EXPECT_EQ(index(GAI).IK, 0);
        EXPECT_EQ(index(GAI).PERC, 0.0f);
        EXPECT_EQ(index(GAI).KONF_HIGH95, 0);
        EXPECT_EQ(index(HIK).normMissing, 0);
        EXPECT_EQ(index(HIK).IK, expectedIk("HIK", 100));
        ASSERT_EQ(messages_.texts().size(), 1u);
        EXPECT_NE(messages_.texts()[0].find(c.message), std::string::npos) << messages_.texts()[0];
    }
}

} // namespace
