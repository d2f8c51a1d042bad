// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "comparison_row.h"

// The significance rule and the base-rate walk shared by the index, subtest and process-score
// comparisons.

struct CriticalValues {
    double c15; // critical value at the .15 level
    double c05; // critical value at the .05 level
};

// 1 once a comparison has been found not significant and written "ns*"; the page then prints the
// footnote "* ns = ej signifikant". Cleared at the start of the index comparisons and again at the
// start of the process-score comparisons, so each page reads it right after its own computation.
extern int pairNsMarked;

// Writes score1, score2 and difference ("%d") and the level with its critical value: ".05" when
// |difference| reaches c05, else ".15" when it reaches c15 (equal counts as reached), else "ns*"
// for the first non-significant row and "ns" after it, with "-" as critical value.
void ratePair(ComparisonRow& row, int score1, int score2, int difference, CriticalValues critical);

// A base-rate table lists thresholds T from topT down to 0. Returns the position of the first row
// whose T the absolute difference reaches; a difference above topT takes row 0.
int baseRateRow(int difference, int topT);

// Column offset of the direction: 0 for difference >= 0 (first score higher or equal), 1 below 0.
inline int directionOf(int difference) {
    return difference >= 0 ? 0 : 1;
}

// "%0.1f%%"
void writeBaseRate(ComparisonRow& row, double percentage);
