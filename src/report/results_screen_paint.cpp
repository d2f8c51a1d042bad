// SPDX-License-Identifier: Apache-2.0
#include "results_screen_paint.h"

#include "screen_paint.h"
#include "screen_resources.h"
#include "test_age.h"
#include "test_occasion.h"
#include "text_table.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kHeaderFontHeight = 15;
constexpr int kValueGap = 5;  // between a label and its value
constexpr int kFieldGap = 20; // between a value and the next label on the same row

// Draws "label:" in the label font and the value after it in the value font; returns the x just
// after the value.
class HeaderRow {
  public:
    HeaderRow(Dc& dc, DcObject labelFont, DcObject valueFont, int y)
        : dc_(dc), labelFont_(labelFont), valueFont_(valueFont), y_(y) {}

    int field(int x, unsigned short labelId, const std::string& value) {
        dc_.selectObject(labelFont_);
        const std::string label = text(labelId) + ":";
        dc_.textOut(x, y_, label);
        x += dc_.textExtent(label).cx + kValueGap;
        dc_.selectObject(valueFont_);
        dc_.textOut(x, y_, value);
        return x + dc_.textExtent(value).cx;
    }

  private:
    Dc& dc_;
    DcObject labelFont_;
    DcObject valueFont_;
    int y_;
};

struct ListLabel {
    unsigned short textId;
    int x;
};

// Over lists 1, 2, 4 and 3, in that order from the left.
constexpr ListLabel kListLabels[] = {{175, 20}, {176, 130}, {241, 340}, {177, 510}};

} // namespace

void ab_paint_person_header(Dc& dc) {
    const PersonRecord& person = testOccasion().person;
    const DcObject labelFont = dc.createFont(arialFont(kHeaderFontHeight, kFontWeightNormal));
    const DcObject valueFont = dc.createFont(arialFont(kHeaderFontHeight, kFontWeightBold));
    const DcObject oldFont = dc.selectObject(labelFont);
    const int height = dc.textMetrics().height;

    HeaderRow(dc, labelFont, valueFont, 24).field(20, 17, person.NAMN);

    HeaderRow second(dc, labelFont, valueFont, height + 27);
    int x = second.field(20, 28, text(person.SEX == 1 ? 42 : 41));
    x = second.field(x + kFieldGap, 27, testAgeText(person));
    second.field(x + kFieldGap, 25, storedDateText(person.TESTDATE));

    HeaderRow(dc, labelFont, valueFont, 2 * height + 30).field(20, 30, person.OTHER);

    dc.selectObject(oldFont);
    dc.deleteObject(labelFont);
    dc.deleteObject(valueFont);
}

ScreenTexts resultsHeaderTexts() {
    // Rows of a 15-unit Arial are about 18 pixels high.
    constexpr int kRowHeight = 18;
    const PersonRecord& person = testOccasion().person;
    const auto row = [](std::string line, int y) {
        ScreenText placed;
        placed.text = std::move(line);
        placed.x = 20;
        placed.y = y;
        placed.width = 560;
        placed.height = kRowHeight;
        return placed;
    };
    const std::string second = text(28) + ": " + text(person.SEX == 1 ? 42 : 41) + ", " + text(27) +
                               ": " + testAgeText(person) + ", " + text(25) + ": " +
                               storedDateText(person.TESTDATE);
    return {row(text(17) + ": " + person.NAMN, 24), row(second, kRowHeight + 27),
            row(text(30) + ": " + person.OTHER, 2 * kRowHeight + 30)};
}

void ab_paint_results_screen(Dc& dc) {
    ab_paint_frame(dc, kBottomStripHeight);
    ab_paint_corner_bitmaps(dc);
    ab_paint_person_header(dc);
    for (const ListLabel& label : kListLabels) {
        dc.textOut(label.x, kListCaptionY, text(label.textId));
    }
}
