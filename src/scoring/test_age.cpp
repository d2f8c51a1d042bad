// SPDX-License-Identifier: Apache-2.0
#include "test_age.h"

#include <cstdio>

TestAge computeTestAge(const PersonRecord& person) {
    TestAge age{person.TESTDATE.year - person.BORNDATE.year,
                static_cast<int>(person.TESTDATE.month) - static_cast<int>(person.BORNDATE.month),
                static_cast<int>(person.TESTDATE.day) - static_cast<int>(person.BORNDATE.day)};
    if (age.days < 0) {
        age.months -= 1;
        age.days += 30;
    }
    if (age.months < 0) {
        age.years -= 1;
        age.months += 12;
    }
    return age;
}

namespace {

bool isCalendarDate(const DateValue& date) {
    constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) {
        return false;
    }
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const int days = kDaysInMonth[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
    return date.day <= days;
}

} // namespace

bool testDatesValid(const PersonRecord& person) {
    return isCalendarDate(person.TESTDATE) && isCalendarDate(person.BORNDATE);
}

std::string testAgeText(const PersonRecord& person) {
    if (!testDatesValid(person)) {
        return "-";
    }
    const TestAge age = computeTestAge(person);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d.%d.%d", age.years, age.months, age.days);
    return buffer;
}

std::string storedDateText(const DateValue& date) {
    if (date == DateValue{0, 0, 0}) {
        return "-";
    }
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}
