// SPDX-License-Identifier: Apache-2.0
#include "index_table.h"
#include "scaled_scores.h"
#include "scoring_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<int> notesOf(const IndexTable& table) {
    return {table.notes, table.notes + table.noteCount};
}

// An occasion with no scores: every index computed and refused.
TestOccasion emptyOccasion() {
    TestOccasion occasion{};
    for (int& raw : occasion.RawScores) {
        raw = NOT_ADMINISTERED;
    }
    std::strcpy(occasion.normDescription, "25-29 år");
    return occasion;
}

IndexResult validIndex(int sum, int ik, float percentile) {
    IndexResult result{};
    result.sum = sum;
    result.IK = ik;
    result.PERC = percentile;
    result.KONF_LOW90 = ik - 5;
    result.KONF_HIGH90 = ik + 5;
    result.KONF_LOW95 = ik - 7;
    result.KONF_HIGH95 = ik + 7;
    result.valid = 1;
    result.count = 3;
    return result;
}

TestOccasion completeOccasion() {
    TestOccasion occasion = emptyOccasion();
    occasion.indexes[VFI] = validIndex(30, 100, 50.0f);
    occasion.indexes[PFI] = validIndex(27, 95, 37.0f);
    occasion.indexes[AI] = validIndex(20, 100, 50.0f);
    occasion.indexes[SI] = validIndex(18, 94, 34.0f);
    occasion.indexes[HIK] = validIndex(95, 97, 42.0f);
    occasion.indexes[HIK].count = 10;
    occasion.indexes[GAI] = validIndex(57, 98, 45.0f);
    return occasion;
}

TEST(IndexTable, NoScoresShowsDashesAndTheRefusalNotes) {
    const IndexTable table = indexTable(emptyOccasion(), 1);
    const char* names[] = {"Verbal funktion", "Perceptuell funktion",
                           "Arbetsminne",     "Snabbhet",
                           "Hela skalan",     "General Ability Index - GAI"};
    for (int key = VFI; key <= GAI; ++key) {
        const IndexTableRow& row = table.rows[key];
        EXPECT_EQ(row.key, key);
        EXPECT_STREQ(row.name, names[key]);
        for (const char* cell : {row.sum, row.IK, row.PERC, row.interval}) {
            EXPECT_STREQ(cell, "-") << names[key];
        }
        EXPECT_STREQ(row.sumMark, "");
    }
    EXPECT_EQ(notesOf(table), (std::vector<int>{599, 601, 606, 610, 613, 615}));
    EXPECT_EQ(table.showsNote632, 0);
    EXPECT_EQ(table.showsNote633, 0);
}

TEST(IndexTable, CompleteOccasionCellsAndOnlyTheGaiNote) {
    const IndexTable table = indexTable(completeOccasion(), 1);
    const IndexTableRow& pfi = table.rows[PFI];
    EXPECT_STREQ(pfi.sum, "27");
    EXPECT_STREQ(pfi.IK, "95");
    EXPECT_STREQ(pfi.PERC, "37.0");
    EXPECT_STREQ(pfi.interval, "88 - 102");
    EXPECT_STREQ(table.intervalHeader, "95% konfidensintervall");
    EXPECT_EQ(notesOf(table), std::vector<int>{599});
}

TEST(IndexTable, ConfidenceLevelChangesOnlyTheIntervalColumn) {
    const TestOccasion occasion = completeOccasion();
    const IndexTable at95 = indexTable(occasion, 1);
    const IndexTable at90 = indexTable(occasion, 0);
    EXPECT_STREQ(at90.intervalHeader, "90% konfidensintervall");
    EXPECT_STREQ(at90.rows[HIK].interval, "92 - 102");
    EXPECT_STREQ(at95.rows[HIK].interval, "90 - 104");
    for (int key = VFI; key <= GAI; ++key) {
        EXPECT_STRNE(at90.rows[key].interval, at95.rows[key].interval);
        EXPECT_STREQ(at90.rows[key].sum, at95.rows[key].sum);
        EXPECT_STREQ(at90.rows[key].IK, at95.rows[key].IK);
        EXPECT_STREQ(at90.rows[key].PERC, at95.rows[key].PERC);
    }
    EXPECT_EQ(notesOf(at90), notesOf(at95));
}

TEST(IndexTable, PercentileFormats) {
    const struct {
        float percentile;
        const char* shown;
    } cases[] = {{0.0f, "< 0.1"}, {100.0f, "> 99.9"}, {0.1f, "0.1"},
                 {99.9f, "99.9"}, {12.5f, "12.5"},    {50.0f, "50.0"}};
    for (const auto& c : cases) {
        RowText field;
        writePercentile(field, c.percentile);
        EXPECT_STREQ(field, c.shown) << c.percentile;
    }
}

TEST(IndexTable, ProratedSumIsMarkedOnlyWhenValid) {
    TestOccasion occasion = completeOccasion();
    occasion.indexes[VFI].prorated = 1;
    occasion.indexes[VFI].sum = 26;
    occasion.indexes[VFI].unproratedSum = 17;
    const IndexTable table = indexTable(occasion, 1);
    EXPECT_STREQ(table.rows[VFI].sum, "26");
    EXPECT_STREQ(table.rows[VFI].sumMark, " UPP");
    EXPECT_EQ(notesOf(table), (std::vector<int>{599, 604}));

    occasion.indexes[VFI].valid = 0;
    const IndexTable refused = indexTable(occasion, 1);
    EXPECT_STREQ(refused.rows[VFI].sum, "-");
    EXPECT_STREQ(refused.rows[VFI].sumMark, "");
}

TEST(IndexTable, SubstitutionNotesNeedASubstituteScore) {
    TestOccasion occasion = completeOccasion();
    for (IndexKey key : {VFI, AI, SI}) {
        occasion.indexes[key].substituted = 1;
    }
    // Scaled 0 behind a substitute: no note for VFI, AI and SI.
    EXPECT_EQ(notesOf(indexTable(occasion, 1)), std::vector<int>{599});
    occasion.ScaledScores[SUB_FORSTAELSE] = 8;
    occasion.ScaledScores[SUB_BSS] = 9;
    occasion.ScaledScores[SUB_OVERSTRYKNING] = 1;
    EXPECT_EQ(notesOf(indexTable(occasion, 1)), (std::vector<int>{599, 602, 611, 614}));
}

TEST(IndexTable, RefusedIndexesByZerosOrTooFewSubtests) {
    TestOccasion occasion = completeOccasion();
    occasion.indexes[PFI].valid = 0;
    occasion.indexes[PFI].zeroCount = 2;
    occasion.indexes[SI].valid = 0;
    occasion.indexes[SI].zeroCount = 1;
    occasion.indexes[HIK].valid = 0;
    occasion.indexes[GAI].valid = 0;
    EXPECT_EQ(notesOf(indexTable(occasion, 1)), (std::vector<int>{599, 605, 613, 615}));
}

TEST(IndexTable, FullScaleNotes) {
    const struct {
        const char* what;
        int hikValid, hikProrated, count, substitutions, prorations;
        bool aiInvalid;
        std::vector<int> notes;
    } cases[] = {
        // Substitutes in three indexes, all of them valid.
        {"three substitutes", 0, 0, 10, 3, 0, false, {599, 616}},
        // Estimated from nine subtests.
        {"estimated from nine", 1, 1, 9, 0, 0, false, {599, 623}},
        // Estimated from eight with one substitute and one prorated index, then refused.
        {"too many estimates", 0, 1, 8, 1, 1, true, {599, 610, 615, 621}},
        // A valid estimate with two substitutes also carries 621.
        {"valid with two substitutes", 1, 1, 9, 2, 0, false, {599, 623, 621}},
        // Too few subtests while VFI is valid: 622 before 615.
        {"too few subtests", 0, 0, 6, 0, 0, true, {599, 610, 622}},
    };
    for (const auto& c : cases) {
        TestOccasion occasion = completeOccasion();
        IndexResult& full = occasion.indexes[HIK];
        full.valid = c.hikValid;
        full.prorated = c.hikProrated;
        full.count = c.count;
        full.substitutionCount = c.substitutions;
        full.prorationCount = c.prorations;
        if (c.aiInvalid) {
            occasion.indexes[AI].valid = 0;
            occasion.indexes[AI].count = 1;
        }
        EXPECT_EQ(notesOf(indexTable(occasion, 1)), c.notes) << c.what;
    }
}

TEST(IndexTable, OldAgeBandNotes) {
    const struct {
        const char* description;
        int note632, note633;
    } cases[] = {{"65-69 år", 0, 0}, {"70-74 år", 0, 1}, {"75-79 år", 1, 1},
                 {"80-84 år", 1, 1}, {"85-90 år", 1, 1}, {"70-74", 0, 0}};
    for (const auto& c : cases) {
        TestOccasion occasion = emptyOccasion();
        std::strcpy(occasion.normDescription, c.description);
        const IndexTable table = indexTable(occasion, 1);
        EXPECT_EQ(table.showsNote632, c.note632) << c.description;
        EXPECT_EQ(table.showsNote633, c.note633) << c.description;
    }
}

// PFI's substitution note follows the subtest that the scoring used, also when the chosen
// subgroup gives Figurvikter a scaled score for a person of 70 or more.
class PfiSubstituteNote : public ScoringTest {
  protected:
    std::vector<int> notesAtAge(int years) {
        insertNormRows("65-69 år", evenBounds());
        insertNormRows("Referensgrupp", evenBounds());
        insertIndexRows();
        std::strcpy(occasion_.ageBand, "65-69 år");
        setAge(years);
        occasion_.RawScores[RAW_MATRISER] = 10;
        occasion_.RawScores[RAW_VISUELLAPUSSEL] = 10;
        occasion_.RawScores[RAW_FIGURVIKTER] = 10;
        occasion_.RawScores[RAW_BILDKOMPLETTERING] = 20;
        computeScaledScores(occasion_);
        EXPECT_EQ(occasion_.ScaledScores[SUB_FIGURVIKTER], 5);
        EXPECT_EQ(occasion_.indexes[PFI].substituted, 1);
        return notesOf(indexTable(occasion_, 1));
    }
};

TEST_F(PfiSubstituteNote, SeventyAndOlderNamesBildkomplettering) {
    const std::vector<int> notes = notesAtAge(72);
    EXPECT_EQ(occasion_.indexes[PFI].sum, 5 + 5 + 10); // Bildkomplettering's 10, not 5
    EXPECT_EQ(notes, (std::vector<int>{599, 601, 603, 610, 613, 622}));
}

TEST_F(PfiSubstituteNote, UnderSeventyNamesFigurvikter) {
    const std::vector<int> notes = notesAtAge(69);
    EXPECT_EQ(occasion_.indexes[PFI].sum, 5 + 5 + 5);
    EXPECT_EQ(notes, (std::vector<int>{599, 601, 607, 610, 613, 622}));
}

} // namespace
