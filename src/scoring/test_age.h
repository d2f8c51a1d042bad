#pragma once

#include "test_occasion.h"

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
