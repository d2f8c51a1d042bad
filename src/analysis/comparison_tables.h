// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "age_band_index.h"
#include "pair_rating.h"

// Critical values and base rates of the pairwise comparisons of index scores and subtests, as
// published in the norm manual.

inline constexpr int kIndexPairCount = 6;   // VFI-PFI, VFI-AI, VFI-SI, PFI-AI, PFI-SI, AI-SI
inline constexpr int kSubtestPairCount = 2; // Sr-Ar, Sy-Ko

// Base-rate tables are given for the whole norm group (0) and for the five ability levels 1-5
// of ABILITY_LEVELS.
inline constexpr int kAbilityTableCount = 6;

inline constexpr int kIndexPairTopT = 40;
inline constexpr int kIndexPairRateRows = kIndexPairTopT + 1;
inline constexpr int kHikGaiTopT = 20;
inline constexpr int kHikGaiRateRows = kHikGaiTopT + 1;
inline constexpr int kSubtestPairTopT = 18;
inline constexpr int kSubtestPairRateRows = kSubtestPairTopT + 1;

extern const CriticalValues INDEX_PAIR_CRITICAL[kAgeBandCount][kIndexPairCount];
extern const CriticalValues HIK_GAI_CRITICAL[kAgeBandCount];
extern const CriticalValues SUBTEST_PAIR_CRITICAL[kSubtestPairCount];

// [ability table][direction][row, T = 40 .. 0][pair]; direction 0 = difference >= 0. Only some
// whole-group rows are published; the rest is built by tools/generate_index_pair_base_rate.py,
// whose notes give the method.
extern const double INDEX_PAIR_BASE_RATE[kAbilityTableCount][2][kIndexPairRateRows]
                                        [kIndexPairCount];

// [row, T = 20 .. 0][ability table * 2 + direction]: whole >= 0, whole < 0, <= 79 >= 0, ...
extern const double HIK_GAI_BASE_RATE[kHikGaiRateRows][kAbilityTableCount * 2];

// [row, T = 18 .. 0][direction * 2 + pair]: Sr-Ar >= 0, Sy-Ko >= 0, Sr-Ar < 0, Sy-Ko < 0.
extern const double SUBTEST_PAIR_BASE_RATE[kSubtestPairRateRows][kSubtestPairCount * 2];
