// SPDX-License-Identifier: Apache-2.0
#include "index_comparisons.h"

#include "age_band_index.h"
#include "comparison_tables.h"
#include "subtest_table.h"
#include "test_occasion.h"
#include "text_table.h"

#include <cstring>

ComparisonRow IndexComparisons[kComparisonRowCount];

namespace {

constexpr int kHikGaiRow = 6;
constexpr int kFirstSubtestRow = 7;

struct PairLabels {
    unsigned short title;
    unsigned short name1;
    unsigned short name2;
};

// Text-table ids of rows 0-8.
constexpr PairLabels kLabels[] = {
    {208, 209, 210}, {211, 212, 213}, {217, 212, 216}, {218, 210, 213}, {214, 210, 216},
    {219, 213, 216}, {255, 195, 196}, {256, 312, 311}, {257, 319, 318},
};

struct IndexPair {
    IndexKey first;
    IndexKey second;
};

constexpr IndexPair kIndexPairs[kIndexPairCount] = {
    {VFI, PFI}, {VFI, AI}, {VFI, SI}, {PFI, AI}, {PFI, SI}, {AI, SI},
};

struct SubtestPair {
    Subscale first;
    Subscale second;
};

constexpr SubtestPair kSubtestPairs[kSubtestPairCount] = {
    {SUB_SIFFERREPETITION, SUB_ARITMETIK},
    {SUB_SYMBOLLETNING, SUB_KODNING},
};

void writeLabels(int row) {
    ComparisonRow& target = IndexComparisons[row];
    loadText(kLabels[row].title, target.title, kRowText);
    loadText(kLabels[row].name1, target.name1, kRowText);
    loadText(kLabels[row].name2, target.name2, kRowText);
}

bool validBand(int ageBandIndex) {
    return ageBandIndex >= 0 && ageBandIndex < kAgeBandCount;
}

// The base-rate table for the basis: 0 for the whole group, 1-5 for the level of score, or -1
// when the basis is neither.
int abilityTable(int indexBase, int score) {
    if (indexBase == INDEX_BASE_WHOLE_GROUP) {
        return 0;
    }
    if (indexBase == INDEX_BASE_ABILITY) {
        return 1 + abilityLevel(score);
    }
    return -1;
}

void compareIndexes(int row, int ageBandIndex, IndexKey first, IndexKey second, int indexBase) {
    const IndexResult& a = testOccasion().indexes[first];
    const IndexResult& b = testOccasion().indexes[second];
    // A difference is only computed between scores read from the norms.
    if (!hasIndexScore(a) || !hasIndexScore(b)) {
        return;
    }
    writeLabels(row);
    const int difference = a.IK - b.IK;
    if (row == kHikGaiRow) {
        rateHikGai(row, ageBandIndex, a.IK, b.IK, difference);
        hikGaiBaseRate(row, difference, indexBase);
    } else {
        rateIndexPair(row, ageBandIndex, a.IK, b.IK, difference);
        indexPairBaseRate(row, difference, indexBase);
    }
}

void compareSubtests(int row) {
    const SubtestPair& pair = kSubtestPairs[row - kFirstSubtestRow];
    const int score1 = testOccasion().ScaledScores[pair.first];
    const int score2 = testOccasion().ScaledScores[pair.second];
    if (score1 <= 0 || score2 <= 0) {
        return;
    }
    writeLabels(row);
    const int difference = score1 - score2;
    rateSubtestPair(row, score1, score2, difference);
    subtestPairBaseRate(row, difference);
}

} // namespace

int abilityLevel(int score) {
    for (int level = 0; level < kAbilityLevelCount - 1; ++level) {
        if (score <= ABILITY_LEVELS[level].high) {
            return level;
        }
    }
    return kAbilityLevelCount - 1;
}

int computeIndexComparisons(int indexBase) {
    pairNsMarked = 0;
    const int band = ageBandIndex(testOccasion().ageBand);
    if (band < 0) {
        return 0;
    }
    std::memset(IndexComparisons, 0, sizeof IndexComparisons);
    for (int row = 0; row < kIndexPairCount; ++row) {
        compareIndexes(row, band, kIndexPairs[row].first, kIndexPairs[row].second, indexBase);
    }
    compareIndexes(kHikGaiRow, band, HIK, GAI, indexBase);
    for (int row = kFirstSubtestRow; row < kFirstSubtestRow + kSubtestPairCount; ++row) {
        compareSubtests(row);
    }
    return 1;
}

void rateIndexPair(int row, int ageBandIndex, int score1, int score2, int difference) {
    if (row < 0 || row >= kIndexPairCount || !validBand(ageBandIndex)) {
        return;
    }
    ratePair(IndexComparisons[row], score1, score2, difference,
             INDEX_PAIR_CRITICAL[ageBandIndex][row]);
}

void rateHikGai(int row, int ageBandIndex, int score1, int score2, int difference) {
    if (row != kHikGaiRow || !validBand(ageBandIndex)) {
        return;
    }
    ratePair(IndexComparisons[row], score1, score2, difference, HIK_GAI_CRITICAL[ageBandIndex]);
}

void rateSubtestPair(int row, int score1, int score2, int difference) {
    const int pair = row - kFirstSubtestRow;
    if (pair < 0 || pair >= kSubtestPairCount) {
        return;
    }
    ratePair(IndexComparisons[row], score1, score2, difference, SUBTEST_PAIR_CRITICAL[pair]);
}

void indexPairBaseRate(int row, int difference, int indexBase) {
    const IndexResult& full = testOccasion().indexes[HIK];
    const int table = abilityTable(indexBase, full.IK);
    // The IQ level that picks the base rates must be a score read from the norms.
    const bool levelUnknown = indexBase == INDEX_BASE_ABILITY && full.normMissing == 1;
    if (row < 0 || row >= kIndexPairCount || table < 0 || levelUnknown) {
        return;
    }
    const int t = baseRateRow(difference, kIndexPairTopT);
    writeBaseRate(IndexComparisons[row],
                  INDEX_PAIR_BASE_RATE[table][directionOf(difference)][t][row]);
}

void hikGaiBaseRate(int row, int difference, int indexBase) {
    const IndexResult& general = testOccasion().indexes[GAI];
    const int table = abilityTable(indexBase, general.IK);
    const bool levelUnknown = indexBase == INDEX_BASE_ABILITY && general.normMissing == 1;
    if (row != kHikGaiRow || table < 0 || levelUnknown) {
        return;
    }
    const int t = baseRateRow(difference, kHikGaiTopT);
    writeBaseRate(IndexComparisons[row], HIK_GAI_BASE_RATE[t][table * 2 + directionOf(difference)]);
}

void subtestPairBaseRate(int row, int difference) {
    const int pair = row - kFirstSubtestRow;
    if (pair < 0 || pair >= kSubtestPairCount) {
        return;
    }
    const int t = baseRateRow(difference, kSubtestPairTopT);
    writeBaseRate(IndexComparisons[row],
                  SUBTEST_PAIR_BASE_RATE[t][directionOf(difference) * kSubtestPairCount + pair]);
}
