// SPDX-License-Identifier: Apache-2.0
#include "report_fixture.h"

#include "clock.h"
#include "db.h"
#include "demo_database.h"
#include "results_opening.h"
#include "subtest_table.h"
#include "test_occasion.h"

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<TempDir>& databaseDir() {
    static std::unique_ptr<TempDir> dir;
    return dir;
}

} // namespace

void ReportFixture::SetUpTestSuite() {
    databaseDir() = std::make_unique<TempDir>();
    const std::string path = databaseDir()->file(kDatabaseFileName).string();
    std::string error;
    ASSERT_TRUE(createDemoDatabase(path, "psykolog", "demo123", error)) << error;
    ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
}

void ReportFixture::TearDownTestSuite() {
    DoDisconnect();
    databaseDir().reset();
}

void ReportFixture::SetUp() {
    setFixedToday(DateValue{2031, 4, 9});
    scorePerson(1948, 0);
}

void ReportFixture::TearDown() {
    clearFixedToday();
}

void ReportFixture::scorePerson(int birthYear, int sex) {
    resetTestOccasion();
    TestOccasion& occasion = testOccasion();
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    std::strcpy(occasion.person.NAMN, kName);
    occasion.person.SEX = sex;
    occasion.person.BORNDATE = DateValue{static_cast<std::int16_t>(birthYear), 3, 2};
    occasion.person.TESTDATE = DateValue{2030, 11, 20};
    occasion.TD_TESTDATE = occasion.person.TESTDATE;
    std::strcpy(occasion.person.OTHER, "Remiss från vårdcentralen");
    for (int raw = 0; raw < kRawScoreCount; ++raw) {
        occasion.RawScores[raw] = kSubtests[raw].formMax / 2;
    }
    scoreOpenedOccasion(occasion);
}
