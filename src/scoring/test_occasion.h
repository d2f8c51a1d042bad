// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "date_value.h"
#include "text_buffer.h"

#include <cstdint>

// The raw-score value of a subtest that was not given, or of an empty entry field. Inside a norm
// row the same value in S18 marks a subscale without norms for that subgroup.
inline constexpr int NOT_ADMINISTERED = -9;

inline constexpr int kRawScoreCount = 23;
inline constexpr int kSubscaleCount = 19;
inline constexpr int kIndexCount = 6;

// One row of TESTPERSON.
struct PersonRecord {
    std::int32_t ID;
    char NAMN[kText50];
    char ADRESS[kText50];
    char TELEFON[kText50];
    char NATIONALITET[kText50];
    char HOMELANGUAGE[kText50];
    char UTBILDNING[kText50];
    char TESTAD_VID[kText50];
    char TESTLEDARE[kText50];
    std::int32_t SEX;
    std::int32_t AGE;
    DateValue TESTDATE;
    DateValue BORNDATE;
    std::int32_t HANDEDNESS;
    char OTHER[kText50];
    std::int32_t NI_TEST;
};

// Index keys in the order they are computed and stored.
enum IndexKey : int { VFI = 0, PFI, AI, SI, HIK, GAI };

struct IndexResult {
    std::int32_t sum;
    std::int32_t unproratedSum;
    std::int32_t count;
    std::int32_t IK;
    float PERC;
    std::int32_t KONF_LOW90;
    std::int32_t KONF_HIGH90;
    std::int32_t KONF_LOW95;
    std::int32_t KONF_HIGH95;
    std::int32_t prorated;
    std::int32_t valid;
    std::int32_t substituted;
    std::int32_t zeroCount;
    std::int32_t substitutionCount;
    std::int32_t prorationCount;
    // 1 when a subtest counted in sum has no scaled score because its norm row is missing or
    // cannot be read: sum is then no score to show.
    std::int32_t sumIncomplete;
    // 1 when IK, PERC and the limits could not be read for sum (no range, no row, a cell NULL or
    // no number, a database error) or sum is incomplete; they are then 0 and shown as missing.
    // A message said why.
    std::int32_t normMissing;
};

// Whether an index has a score to show: valid, with IK, PERC and limits read from its norms.
inline bool hasIndexScore(const IndexResult& index) {
    return index.valid == 1 && index.normMissing == 0;
}
// Whether an index has a sum to show: valid, and every subtest in it scaled.
inline bool hasIndexSum(const IndexResult& index) {
    return index.valid == 1 && index.sumIncomplete == 0;
}

struct TestOccasion {
    PersonRecord person;
    DateValue TD_TESTDATE;
    std::int32_t RawScores[kRawScoreCount];
    std::int32_t ScaledScores[kSubscaleCount];
    std::int32_t ReferenceScaledScores[kSubscaleCount];
    IndexResult indexes[kIndexCount];
    char NORMGRUPP[kText50];
    char ageBand[kText50];
    char normDescription[kText64];
    // Bit k set: the norm row of subscale k in ageBand is missing or cannot be read (a message
    // said so), so that its scaled score 0 is no score.
    std::uint32_t unscoredSubscales;
};

// The one test occasion of the process.
TestOccasion& testOccasion();

// Clears the person, dates the test today and marks every raw score as not administered.
void resetTestOccasion();
