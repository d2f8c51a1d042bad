// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "test_occasion.h"

// The 22 entry fields of the raw-score form, in form order: the RawScores order without
// sifferrepetition, which is computed from its three parts.

inline constexpr int kRawScoreFieldCount = 22;

struct RawScoreField {
    int raw;              // position in RawScores (RawScore)
    unsigned short label; // maximum label painted beside the field
    int x;                // field position
    int y;
};

extern const RawScoreField kRawScoreFields[kRawScoreFieldCount];

// The highest score a field accepts, and the subtest name its messages use (text id).
int rawScoreFieldMax(int field);
unsigned short rawScoreFieldName(int field);

// Fields that take three characters (Kodning, max 135) are wider than the others.
int rawScoreFieldWidth(int field);
int rawScoreFieldLength(int field);

// Fields 0-11 form the left column, 12-21 the right.
inline constexpr int kFirstRightColumnField = 12;
