// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "age_band_index.h"
#include "pair_rating.h"

// Critical values and norm-group percentages of the process-score analysis, as published in the
// norm manual.

inline constexpr int kProcessPairCount = 4; // Bl-BUT, SF-SB, SF-SS, SB-SS
inline constexpr int kProcessPairTopT = 18;
inline constexpr int kProcessPairRateRows = kProcessPairTopT + 1;

// The same for every age band.
extern const CriticalValues PROCESS_PAIR_CRITICAL[kProcessPairCount];

// [row, T = 18 .. 0][direction * 4 + pair]; direction 0 = difference >= 0.
extern const double PROCESS_PAIR_BASE_RATE[kProcessPairRateRows][kProcessPairCount * 2];

inline constexpr int kSpanCount = 4;     // SFO, SBO, SSO, BO
inline constexpr int kSpanTopRaw = 9;    // rows raw 9 .. 1
inline constexpr int kSpanBandsOfBo = 9; // BO has norms for "16-17 år" to "65-69 år" only

// Marks a cell of SPAN_CUMULATIVE for which the norm group has no data (BO from 70 years).
inline constexpr double kNoNorm = -1.0;

// [span][row = 9 - raw][ageBandIndex]: share of the band whose longest span was at least raw.
extern const double SPAN_CUMULATIVE[kSpanCount][kSpanTopRaw][kAgeBandCount];

inline constexpr int kSpanPairCount = 3; // SFO-SBO, SFO-SSO, SBO-SSO
inline constexpr int kSpanDiffTop = 9;

// [pair][direction][row = |d|, 0 .. 9][ageBandIndex]: share of the band whose difference in that
// direction was at least |d|.
extern const double SPAN_DIFF_BASE_RATE[kSpanPairCount][2][kSpanDiffTop + 1][kAgeBandCount];
