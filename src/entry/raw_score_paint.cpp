// SPDX-License-Identifier: Apache-2.0
#include "raw_score_paint.h"

#include "raw_score_fields.h"
#include "screen_paint.h"
#include "screen_resources.h"
#include "text_layout.h"
#include "text_table.h"

#include <cstdio>

namespace {

constexpr int kSubtestCount = 15;
constexpr int kLeftColumnSubtests = 6;
constexpr unsigned short kFirstSubtestTitle = 61;

// Top of each subtest title: subtests 1-6 in the left column, 7-15 in the right.
constexpr int kSubtestTitleY[kSubtestCount] = {28,  103, 148, 343, 388, 433, 28, 73,
                                               118, 163, 208, 283, 328, 373, 418};

void paintSubtestTitles(Dc& dc) {
    const DcObject font = dc.createFont(arialFont(16, kFontWeightBold));
    const DcObject oldFont = dc.selectObject(font);
    const Rgb oldColour = dc.setTextColor(kSubtestTitleColour);
    for (int i = 0; i < kSubtestCount; ++i) {
        const bool left = i < kLeftColumnSubtests;
        const int y = kSubtestTitleY[i];
        char number[8];
        std::snprintf(number, sizeof number, "%d.", i + 1);
        const unsigned oldAlign = dc.setTextAlign(TextAlign::Right);
        dc.textOut(left ? 177 : 477, y, number);
        dc.setTextAlign(oldAlign);
        dc.textOut(left ? 180 : 480, y, text(static_cast<unsigned short>(kFirstSubtestTitle + i)));
    }
    dc.setTextColor(oldColour);
    dc.selectObject(oldFont);
    dc.deleteObject(font);
}

void paintMaximumLabels(Dc& dc) {
    const DcObject font = dc.createFont(arialFont(14));
    const DcObject oldFont = dc.selectObject(font);
    const Rgb oldColour = dc.setTextColor(kTextColour);
    for (int field = 0; field < kRawScoreFieldCount; ++field) {
        const int x = field < kFirstRightColumnField ? 222 : 522;
        dc.textOut(x, kRawScoreFields[field].y + 7, text(kRawScoreFields[field].label));
    }
    dc.setTextColor(oldColour);
    dc.selectObject(oldFont);
    dc.deleteObject(font);
}

std::string subtestTitle(int subtest) {
    return std::to_string(subtest + 1) + ". " +
           text(static_cast<unsigned short>(kFirstSubtestTitle + subtest));
}

} // namespace

ScreenTexts rawScoreTexts() {
    ScreenTexts texts;
    ScreenText heading;
    heading.kind = ScreenText::Kind::Heading;
    heading.text = text(46);
    heading.description = "Tab och Enter går till nästa fält, Skift+Tab till föregående; "
                          "Alt+V visar resultatet, Alt+T går tillbaka.";
    heading.x = 20;
    heading.y = 26;
    heading.width = 120;
    heading.height = 66;
    texts.push_back(heading);
    for (int i = 0; i < kSubtestCount; ++i) {
        const bool left = i < kLeftColumnSubtests;
        ScreenText title;
        title.kind = ScreenText::Kind::Heading;
        title.text = subtestTitle(i);
        title.x = left ? 160 : 460;
        title.y = kSubtestTitleY[i];
        title.width = 280;
        title.height = 18;
        texts.push_back(title);
    }
    return texts;
}

void ab_paint_raw_scores(Dc& dc) {
    dc.setBkMode(BackgroundMode::Transparent);
    ab_paint_frame(dc, kBottomStripHeight);
    ab_paint_corner_bitmaps(dc);

    const DcObject titleFont = dc.createFont(arialFont(18, kFontWeightBold));
    const DcObject oldFont = dc.selectObject(titleFont);
    ab_text_wrap(dc, 26, text(46).c_str(), 20, 140, 1, 0);
    dc.selectObject(oldFont);
    dc.deleteObject(titleFont);

    paintSubtestTitles(dc);
    paintMaximumLabels(dc);
}
