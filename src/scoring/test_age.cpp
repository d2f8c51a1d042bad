#include "test_age.h"

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
