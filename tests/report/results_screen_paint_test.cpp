// SPDX-License-Identifier: Apache-2.0
#include "recording_dc.h"
#include "results_screen_paint.h"
#include "test_occasion.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class PersonHeader : public ::testing::Test {
  protected:
    void SetUp() override {
        resetTestOccasion();
        PersonRecord& person = testOccasion().person;
        std::strcpy(person.NAMN, "Åsa Berg");
        std::strcpy(person.OTHER, "Omtest");
        person.BORNDATE = DateValue{1970, 3, 20};
        person.TESTDATE = DateValue{2010, 6, 5};
    }

    const RecordingDc::Text& find(const char* text) {
        for (const RecordingDc::Text& t : dc_.texts()) {
            if (t.text == text) {
                return t;
            }
        }
        ADD_FAILURE() << "no text " << text;
        return dc_.texts().front();
    }

    RecordingDc dc_;
};

// Fonts of 15 units: 8 units a character on the recording device, text height 15.
TEST_F(PersonHeader, LabelsAndValuesOnThreeRows) {
    testOccasion().person.SEX = 1;
    ab_paint_person_header(dc_);
    struct Expected {
        const char* text;
        int x;
        int y;
        bool bold;
    };
    const Expected expected[] = {
        {"Namn:", 20, 24, false},       {"Åsa Berg", 65, 24, true},     {"Kön:", 20, 42, false},
        {"Man", 57, 42, true},          {"Testålder:", 101, 42, false}, {"40.2.15", 186, 42, true},
        {"Testdatum:", 262, 42, false}, {"2010-06-05", 347, 42, true},  {"Övrigt:", 20, 60, false},
        {"Omtest", 81, 60, true},
    };
    ASSERT_EQ(dc_.texts().size(), std::size(expected));
    for (const Expected& e : expected) {
        const RecordingDc::Text& t = find(e.text);
        EXPECT_EQ(t.x, e.x) << e.text;
        EXPECT_EQ(t.y, e.y) << e.text;
        EXPECT_EQ(t.font.weight, e.bold ? kFontWeightBold : kFontWeightNormal) << e.text;
        EXPECT_EQ(t.font.height, 15) << e.text;
        EXPECT_EQ(t.font.face, "Arial") << e.text;
    }
    EXPECT_EQ(dc_.liveObjectCount(), 0);
}

TEST_F(PersonHeader, EverySexButOneIsAWoman) {
    for (const int sex : {0, 2, 7}) {
        testOccasion().person.SEX = sex;
        dc_.clearRecords();
        ab_paint_person_header(dc_);
        EXPECT_EQ(find("Kvinna").x, 57) << sex;
    }
}

TEST_F(PersonHeader, ScreenPaintsTheListLabels) {
    ab_paint_results_screen(dc_);
    EXPECT_EQ(find("Normgrupp").x, 20);
    EXPECT_EQ(find("Normgrupp").y, 88);
    EXPECT_EQ(find("Konfidensintervall").x, 130);
    EXPECT_EQ(find("Diskrepansanalyser").x, 340);
    EXPECT_EQ(find("Styrkor och svagheter").x, 510);
    EXPECT_EQ(find("Styrkor och svagheter").y, 88);
    EXPECT_EQ(dc_.liveObjectCount(), 0);
}

} // namespace
