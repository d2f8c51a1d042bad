// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "analysis_text.h"

// Strengths and weaknesses: each of the ten core subtests against a mean of scaled scores.

struct StrengthWeaknessRow {
    RowText number;        // place in the administration order, "1" to "10"; empty = no row
    RowText name;          // subtest name
    RowText scaledScore;   // "%d"; "-9" when the subtest was not administered
    RowText mean;          // "%0.2f"
    RowText difference;    // scaled score - mean, rounded to hundredths, "%0.2f"
    RowText level;         // ".05", ".15", "ns" or "ns*"
    RowText mark;          // "+" strength, "-" weakness, " " when not significant
    RowText baseRate;      // "1%", "2%", "3 - 5%", "6 - 10%", "11 - 15%", "16 - 25%" or "> 25%"
    RowText criticalValue; // "%0.2f"; empty when not significant
};

inline constexpr int kStrengthWeaknessRowCount = 15;

// Rows 0-9 are used, rows 10-14 stay empty.
extern StrengthWeaknessRow StrengthsWeaknesses[kStrengthWeaknessRowCount];

// 1 once a row has been written "ns*"; the page then prints the footnote "* ns = ej signifikant".
// Independent of pairNsMarked.
extern int swNsMarked;

// The comparison basis chosen on the results screen.
enum SwBase : int {
    SW_BASE_TOTAL = 0, // every core subtest against the ten-subtest mean
    SW_BASE_INDEX = 1, // verbal and perceptual subtests against their own index's mean
};

// Status values of computeStrengthsWeaknesses.
enum SwStatus : int {
    SW_OTHER_BASE = 0,     // a basis that is neither 0 nor 1: rows grouped by index
    SW_INDEX_MEANS = 1,    // basis 1, both index means available
    SW_NO_INDEX_MEAN = 9,  // basis 1, neither index mean available
    SW_TOTAL_MEAN = 10,    // basis 0, ten rows against the ten-subtest mean
    SW_NO_VFI_MEAN = 19,   // basis 1, the VFI mean missing
    SW_NO_PFI_MEAN = 29,   // basis 1, the PFI mean missing
    SW_NO_TOTAL_MEAN = 99, // basis 0, the ten-subtest mean missing
};

// Rebuilds StrengthsWeaknesses and swNsMarked from the test occasion; returns a SwStatus.
int computeStrengthsWeaknesses(int swBase);

// Rounds to hundredths: a half rounds away from zero, and when the hundredths digit is even a
// fraction above 0.4999 rounds up as well.
double roundTo2(double x);
