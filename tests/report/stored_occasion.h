// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "test_occasion.h"

// A person of the given age in whole years (born 1960-03-10), with every raw score at about half
// of its form maximum and the four spans given, stored through the program's own statements.
// Returns the new ID, or -1.
int storeHalfScoredPerson(const char* name, int years);

// Reads the person and the raw scores into testOccasion(), as "&Visa resultat" does.
bool loadStoredOccasion(int id);
