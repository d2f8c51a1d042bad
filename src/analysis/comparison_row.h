// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "analysis_text.h"

// One comparison of two scores as display text. An empty title marks a comparison that was not
// made; readers skip such rows.
struct ComparisonRow {
    RowText title;
    RowText name1;
    RowText score1;
    RowText name2;
    RowText score2;
    RowText difference;    // score1 - score2
    RowText level;         // ".05", ".15", "ns" or "ns*"
    RowText baseRate;      // "12.3%", or empty
    RowText criticalValue; // the critical value reached, "13.03", or "-" when not significant
};

inline constexpr int kComparisonRowCount = 15;
