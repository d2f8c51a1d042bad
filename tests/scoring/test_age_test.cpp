// SPDX-License-Identifier: Apache-2.0
#include "age_band.h"
#include "stored_values.h"
#include "test_age.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

PersonRecord born(DateValue birth, DateValue test) {
    PersonRecord person{};
    person.BORNDATE = birth;
    person.TESTDATE = test;
    return person;
}

struct AgeCase {
    DateValue birth;
    DateValue test;
    int years;
    int months;
    int days;
};

TEST(ComputeTestAge, BorrowsThirtyDaysAndTwelveMonths) {
    const AgeCase cases[] = {
        {{1950, 5, 31}, {2010, 6, 1}, 60, 0, 0},    // 1 - 31 = -30: one month of 30 days
        {{1990, 3, 15}, {2008, 3, 14}, 17, 11, 29}, // a day short of 18
        {{1990, 3, 15}, {2008, 3, 15}, 18, 0, 0},
        {{1988, 2, 29}, {2009, 2, 28}, 20, 11, 29}, // no leap-year rule
        {{1988, 2, 29}, {2009, 3, 1}, 21, 0, 2},
        {{1980, 12, 31}, {2010, 1, 1}, 29, 0, 0},   // -11 months and -30 days
        {{2000, 1, 1}, {1999, 12, 31}, -1, 11, 30}, // test before birth
    };
    for (const AgeCase& c : cases) {
        const TestAge age = computeTestAge(born(c.birth, c.test));
        EXPECT_EQ(age.years, c.years) << c.test.year << "-" << c.test.month << "-" << c.test.day;
        EXPECT_EQ(age.months, c.months) << c.test.year << "-" << c.test.month;
        EXPECT_EQ(age.days, c.days) << c.test.year << "-" << c.test.month;
    }
}

TEST(AgeBandFor, EveryBoundary) {
    const struct {
        int years;
        const char* band;
    } cases[] = {{-1, "16-17 år"}, {15, "16-17 år"}, {17, "16-17 år"}, {18, "18-19 år"},
                 {19, "18-19 år"}, {20, "20-24 år"}, {24, "20-24 år"}, {25, "25-29 år"},
                 {29, "25-29 år"}, {30, "30-34 år"}, {34, "30-34 år"}, {35, "35-44 år"},
                 {44, "35-44 år"}, {45, "45-54 år"}, {54, "45-54 år"}, {55, "55-64 år"},
                 {64, "55-64 år"}, {65, "65-69 år"}, {69, "65-69 år"}, {70, "70-74 år"},
                 {74, "70-74 år"}, {75, "75-79 år"}, {79, "75-79 år"}, {80, "80-84 år"},
                 {84, "80-84 år"}, {85, "85-90 år"}, {90, "85-90 år"}, {93, "85-90 år"}};
    for (const auto& c : cases) {
        EXPECT_STREQ(ageBandFor(c.years), c.band) << c.years;
    }
}

TEST(AgeOutsideNorms, NamesTheAgeAndTheBandItIsComparedWith) {
    const struct {
        DateValue birth;
        const char* band;
        const char* note;
    } cases[] = {
        {{2009, 4, 9},
         "",
         "Teståldern 14 år ligger utanför normernas 16-90 år; jämförd med 16-17 år"},
        {{2009, 4, 9},
         "18-19 år",
         "Teståldern 14 år ligger utanför normernas 16-90 år; jämförd med 18-19 år"},
        {{1933, 1, 1},
         "",
         "Teståldern 91 år ligger utanför normernas 16-90 år; jämförd med 85-90 år"},
        {{2008, 3, 15}, "", ""}, // exactly 16
        {{1933, 3, 16}, "", ""}, // a day short of 91
        {{2025, 1, 1},
         "",
         "Teståldern -1 år ligger utanför normernas 16-90 år; jämförd med 16-17 år"},
        {{0, 0, 0}, "", ""}, // no test age at all
    };
    for (const auto& c : cases) {
        const PersonRecord person = born(c.birth, DateValue{2024, 3, 15});
        EXPECT_EQ(ageOutsideNormsNote(person, c.band), c.note) << c.birth.year;
    }
}

TEST(AgeOutsideNorms, TheOpeningMessageUsesTheNoteAndKeepsOtherStoredValuesApart) {
    TestOccasion occasion{};
    for (std::int32_t& raw : occasion.RawScores) {
        raw = NOT_ADMINISTERED;
    }
    occasion.person = born({2009, 4, 9}, {2024, 3, 15});
    std::snprintf(occasion.person.NAMN, sizeof occasion.person.NAMN, "%s", "Ung");
    occasion.person.ID = 7;
    occasion.person.SEX = 2;
    EXPECT_EQ(storedValueMessage(occasion),
              "Testpersonen Ung (ID 7): Teståldern 14 år ligger utanför normernas 16-90 år; "
              "jämförd med 16-17 år.");
    occasion.person.SEX = 3;
    const std::string both = storedValueMessage(occasion);
    EXPECT_EQ(both.find("Testpersonen Ung (ID 7): Teståldern 14 år"), 0u) << both;
    EXPECT_NE(both.find("har värden som formulären inte kan spara: kön (SEX) 3"), std::string::npos)
        << both;
    EXPECT_EQ(both.find("teståldern"), std::string::npos) << both;
    occasion.person.BORNDATE = DateValue{1980, 1, 1};
    EXPECT_EQ(storedValueMessage(occasion).find("Teståldern"), std::string::npos);
}

} // namespace
