// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "comparison_row.h"
#include "pair_rating.h" // pairNsMarked

// Comparisons of the process scaled scores: Blockmönster against Blockmönster Utan Tidsbonus
// (row 0) and the three Sifferrepetition tasks against each other (rows 1-3). Only title, scores,
// difference, level, baseRate and criticalValue are filled; name1 and name2 stay empty.
extern ComparisonRow ProcessComparisons[kComparisonRowCount];

// Rebuilds ProcessComparisons and pairNsMarked from the test occasion; returns 1. The
// critical values and base rates are the same for every age band.
int computeProcessComparisons();

// Fill score1, score2, difference, level and criticalValue of ProcessComparisons[row] (0-3).
void rateProcessPair(int row, int score1, int score2, int difference);

// Fill baseRate of ProcessComparisons[row] (0-3).
void processPairBaseRate(int row, int difference);
