// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "test_occasion.h"

#include <string>

// Values of a stored occasion that the forms cannot store, written by hand or by another tool:
// the scoring takes them as they are, and this says so. One message naming the person: a test age
// outside the norms' 16-90 years with the band it is compared with (ageOutsideNormsNote), then
// every value the forms cannot store (sex other than 1 and 2, a raw score outside 0..form
// maximum, a Sifferrepetition total that is not what its three parts give, a text that is not
// UTF-8); empty when there is none.
std::string storedValueMessage(const TestOccasion& occasion);

// Whether text is valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool validUtf8(const char* text);
