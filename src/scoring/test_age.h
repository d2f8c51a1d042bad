// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "test_occasion.h"

#include <string>

struct TestAge {
    int years;
    int months;
    int days;
};

// Years, months and days from BORNDATE to TESTDATE by plain field arithmetic: a negative day
// difference borrows one month of 30 days, a negative month difference one year. A test date
// before the birth date gives a negative age.
TestAge computeTestAge(const PersonRecord& person);

// True when both TESTDATE and BORNDATE are calendar dates (years 1-9999), so that the test age
// means something. A date read from the database as NULL or unreadable is {0, 0, 0}, never one.
bool testDatesValid(const PersonRecord& person);

// The test age as every page shows it, "%d.%d.%d"; "-" when the dates give none.
std::string testAgeText(const PersonRecord& person);

// A stored date as every page shows it, "%04d-%02d-%02d"; "-" for the empty date that a NULL or
// unreadable stored date reads as.
std::string storedDateText(const DateValue& date);
