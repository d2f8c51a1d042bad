// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "age_bands.h"
#include "db.h"
#include "norm_source.h"
#include "test_occasion.h"

#include <string>

// The band for whole years of test age: ages below 16 fall into the youngest band, ages above
// 84 into the oldest.
const char* ageBandFor(int years);

// Sets ageBand from the test age and reads its description. 1 when the description was read,
// 9 when there is none (the former text stays), 0 on a database error (reported).
// A person whose stored dates give no test age (testDatesValid) gets no band: ageBand and
// normDescription are emptied, a message naming the person says why, and the result is 9;
// computeScaledScores then scores nothing.
DbResult selectAgeBand(TestOccasion& occasion, NormSource& norms = databaseNorms());

// The user picked another subgroup on the results screen: use it, read its description, and
// score the occasion again against it. Refused, with the same message, for a person whose dates
// give no test age.
void chooseAgeBand(TestOccasion& occasion, const char* subgroup,
                   NormSource& norms = databaseNorms());

// When the test age lies outside the norms' 16-90 years: "Teståldern 14 år ligger utanför
// normernas 16-90 år; jämförd med 16-17 år", naming the band the scores are compared with (the
// band the age selects when band is empty). Empty for an age inside the norms or no test age.
std::string ageOutsideNormsNote(const PersonRecord& person, const char* band);

// The message for a person whose stored dates give no test age.
std::string invalidTestDatesMessage(const PersonRecord& person);
