#pragma once

#include "db.h"
#include "norm_source.h"
#include "test_occasion.h"

inline constexpr int kAgeBandCount = 13;

// The program's age bands, youngest first; each is the DELGRUPP key of its norm rows.
inline constexpr const char* kAgeBands[kAgeBandCount] = {
    "16-17 år", "18-19 år", "20-24 år", "25-29 år", "30-34 år", "35-44 år", "45-54 år",
    "55-64 år", "65-69 år", "70-74 år", "75-79 år", "80-84 år", "85-90 år"};

// The subgroup of the reference scaled scores (ages 20-34).
inline constexpr const char* kReferenceGroup = "Referensgrupp";

// The band for whole years of test age: ages below 16 fall into the youngest band, ages above
// 84 into the oldest.
const char* ageBandFor(int years);

// Sets ageBand from the test age and reads its description. 1 when the description was read,
// 9 when there is none (the former text stays), 0 on a database error (reported).
DbResult selectAgeBand(TestOccasion& occasion);

// The user picked another subgroup on the results screen: use it, read its description, and
// score the occasion again against it.
void chooseAgeBand(TestOccasion& occasion, const char* subgroup,
                   NormSource& norms = databaseNorms());
