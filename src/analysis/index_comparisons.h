// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "comparison_row.h"
#include "pair_rating.h" // pairNsMarked

#include <climits>

// Pairwise comparisons of the discrepancy page: the six pairs of the four indexes (rows 0-5), the
// full scale against the General Ability Index (row 6) and two subtest pairs (rows 7 and 8).
// Rows 9-14 stay empty.
extern ComparisonRow IndexComparisons[kComparisonRowCount];

// The comparison basis chosen on the results screen.
enum IndexBase : int {
    INDEX_BASE_WHOLE_GROUP = 0, // base rates of the whole norm group
    INDEX_BASE_ABILITY = 1,     // base rates of the norm-group members at the person's level
};

struct AbilityRange {
    int low;
    int high;
};

// The ability levels of the base-rate tables, bounds inclusive.
inline constexpr int kAbilityLevelCount = 5;
inline constexpr AbilityRange ABILITY_LEVELS[kAbilityLevelCount] = {
    {INT_MIN, 79}, {80, 89}, {90, 109}, {110, 119}, {120, INT_MAX}};

// Position 0-4 of score in ABILITY_LEVELS.
int abilityLevel(int score);

// Rebuilds IndexComparisons and pairNsMarked from the test occasion. Returns 1, or 0 when the age
// band is none of the 13 bands: then pairNsMarked is 0, IndexComparisons is left as it was and
// nothing is shown (the caller omits the comparisons; see kAgeBandErrorText). indexBase is the
// results screen's choice; any value but 0 and 1 leaves the base rates empty.
int computeIndexComparisons(int indexBase);

// Fill score1, score2, difference, level and criticalValue of IndexComparisons[row].
void rateIndexPair(int row, int ageBandIndex, int score1, int score2, int difference); // rows 0-5
void rateHikGai(int row, int ageBandIndex, int score1, int score2, int difference);    // row 6
void rateSubtestPair(int row, int score1, int score2, int difference);                 // rows 7-8

// Fill baseRate of IndexComparisons[row]. The ability level is that of HIK.IK for the index
// pairs and of GAI.IK for row 6 (read from the test occasion); the subtest pairs have
// whole-group rates only.
void indexPairBaseRate(int row, int difference, int indexBase);
void hikGaiBaseRate(int row, int difference, int indexBase);
void subtestPairBaseRate(int row, int difference);
