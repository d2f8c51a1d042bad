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
};

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
};

// The one test occasion of the process.
TestOccasion& testOccasion();

// Clears the person, dates the test today and marks every raw score as not administered.
void resetTestOccasion();
