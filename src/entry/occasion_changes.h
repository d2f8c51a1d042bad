// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "test_occasion.h"

#include <string>

// What an update of a stored occasion changes, for the access log: the names of the person's
// columns that differ ("NAMN, TESTDATE"; empty when none), and how many raw scores differ.
std::string changedPersonFields(const PersonRecord& stored, const PersonRecord& updated);
int changedRawScores(const TestOccasion& stored, const TestOccasion& updated);
