// SPDX-License-Identifier: Apache-2.0
#pragma once

// Critical values and base-rate thresholds of the strengths-and-weaknesses analysis, as published
// in the norm manual. They do not depend on age.

enum SwMean : int { MEAN_TOTAL, MEAN_VFI, MEAN_PFI };

inline constexpr int kSwRowCount = 10;
inline constexpr int kSwBandCount = 6;

struct SwTableRow {
    const char* number;  // place of the subtest in the administration order
    int subscale;        // Subscale of the subtest
    unsigned short name; // text-table id of its name
    SwMean mean;         // the mean it is compared with
    double c15;
    double c05;
    // Differences from the mean that only 1%, 2%, 5%, 10%, 15% and 25% of the norm group reached.
    double bands[kSwBandCount];
};

// Ten core subtests in administration order, each against the ten-subtest mean.
extern const SwTableRow SW_TOTAL_MEAN_TABLE[kSwRowCount];

// Grouped by index: the verbal subtests against the VFI mean, the perceptual ones against the PFI
// mean, the working-memory and speed subtests against the ten-subtest mean.
extern const SwTableRow SW_INDEX_MEAN_TABLE[kSwRowCount];

// Base-rate texts of the bands, and the text for a difference below all of them.
extern const char* const kSwBandTexts[kSwBandCount];
inline constexpr const char* kSwCommonBandText = "> 25%";
