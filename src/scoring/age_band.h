#pragma once

#include "age_bands.h"
#include "db.h"
#include "norm_source.h"
#include "test_occasion.h"

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
