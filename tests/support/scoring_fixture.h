// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "database_fixture.h"
#include "subtest_table.h"

#include <array>

using NormBounds = std::array<int, kSubscaleCount>;

// Bounds 2, 4, ..., 36 and 40: raw r earns ceil(r / 2) up to 18, and 19 above 36.
NormBounds evenBounds();

// A database with hand-made norm rows, and an occasion that uses them.
class ScoringTest : public DatabaseTest {
  protected:
    void SetUp() override;

    void insertNormRow(const char* delskala, const char* delgrupp, const NormBounds& bounds);
    // The same bounds for every subscale in the subgroup.
    void insertNormRows(const char* delgrupp, const NormBounds& bounds);
    // Index rows over each key's whole range, IK = 3 * SKAL + 1 (plus 1000 for GAI, so that
    // GAI rows are told from the others), PERC = SKAL / 2, limits IK -/+ 5 and IK -/+ 7.
    void insertIndexRows();
    // What the hand-made norms lack for the rules of check-norms, by which every output checks
    // the tables: a row of even bounds for each subscale of each subgroup without one, and a
    // NORMGRUPPER row named by its band, in SEKVENS order, for each subgroup without one.
    void completeNormTables();

    // A person born on 1980-01-01 and tested on the given date.
    void setAge(int years, int extraDays = 0);
    void setAllRaw(int raw);

    TestOccasion occasion_{};
};

int expectedIk(const char* key, int lookupSum);

// The three digit-span parts as the form stores them with the Sifferrepetition total: adding up
// to it, or all not administered with it.
void splitDigitSpanTotal(std::int32_t (&raw)[kRawScoreCount]);
