// SPDX-License-Identifier: Apache-2.0
#include "recording_dc.h"
#include "report_pages.h"
#include "results_opening.h"
#include "test_occasion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class WholeReport : public ::testing::Test {
  protected:
    void SetUp() override {
        resetTestOccasion();
        resetResultsView();
        TestOccasion& occasion = testOccasion();
        std::strcpy(occasion.person.NAMN, "Eva Lind");
        occasion.person.BORNDATE = DateValue{1968, 9, 30};
        occasion.person.TESTDATE = DateValue{2011, 2, 13};
        std::strcpy(occasion.ageBand, "35-44 år");
        std::strcpy(occasion.normDescription, "35-44 år");
    }

    // The y of the first text drawn that equals title, or -1.
    static int titleY(const RecordingDc& dc, const char* title) {
        for (const RecordingDc::Text& text : dc.texts()) {
            if (text.text == title) {
                return text.y;
            }
        }
        return -1;
    }
};

TEST_F(WholeReport, FivePagesOneBelowTheOther) {
    RecordingDc dc;
    const int lines = ab_paint_sidor(dc, 0, 50, 600, 0);
    const char* titles[] = {"Resultatredovisning", "Grafisk redovisning",
                            "Sammanställning deltestpoäng", "Analyser", "Analys av processpoäng"};
    int previous = -1;
    for (const char* title : titles) {
        const int y = titleY(dc, title);
        EXPECT_GT(y, previous) << title;
        previous = y;
    }
    EXPECT_GT(lines * resultsView().lineHeight, previous);
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

// The height in lines does not depend on how far the report is scrolled; on paper the result is
// the bottom itself.
TEST_F(WholeReport, LinesDoNotDependOnTheScrollPosition) {
    RecordingDc top;
    RecordingDc scrolled;
    const int lines = ab_paint_sidor(top, 0, 50, 600, 0);
    EXPECT_EQ(ab_paint_sidor(scrolled, -1230, 50, 600, 0), lines);
    EXPECT_EQ(titleY(scrolled, "Analyser"), titleY(top, "Analyser") - 1230);

    RecordingDc paper(true);
    const int bottom = ab_paint_sidor(paper, 100, 50, 750, 1);
    EXPECT_GT(bottom, titleY(paper, "Analys av processpoäng"));
}

// A subgroup that is no age band leaves sections out, but the report still reaches past the
// process-score page, so all of it can be scrolled to.
TEST_F(WholeReport, SubgroupOutsideTheBandsKeepsTheWholeReportReachable) {
    std::strcpy(testOccasion().ageBand, "Referensgrupp");
    RecordingDc dc;
    const int lines = ab_paint_sidor(dc, 0, 50, 600, 0);
    const int processTitle = titleY(dc, "Analys av processpoäng");
    ASSERT_GT(processTitle, 0);
    EXPECT_GT(lines * resultsView().lineHeight, processTitle + 100);
}

} // namespace
