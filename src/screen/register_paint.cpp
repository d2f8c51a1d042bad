// SPDX-License-Identifier: Apache-2.0
#include "clock.h"
#include "screen_paint.h"
#include "screen_resources.h"
#include "test_occasion.h"
#include "text_table.h"

namespace {

void drawText(Dc& dc, int x, int y, unsigned short textId) {
    const std::string line = text(textId);
    dc.textOut(x, y, line);
}

// Draws one text in a font of its own, which is deleted again.
void drawInFont(Dc& dc, const FontSpec& spec, int x, int y, const char* line) {
    const DcObject font = dc.createFont(spec);
    const DcObject oldFont = dc.selectObject(font);
    dc.textOut(x, y, line);
    dc.selectObject(oldFont);
    dc.deleteObject(font);
}

struct Placed {
    unsigned short textId;
    int x;
    int y;
};

constexpr Placed kPersonalDataLabels[] = {
    {17, 100, 125}, {18, 100, 155}, {19, 100, 185}, {20, 100, 215}, {21, 100, 245},
    {22, 100, 275}, {23, 100, 305}, {24, 100, 335}, {30, 100, 365}, {25, 600, 125},
    {26, 600, 155}, {27, 600, 185}, {28, 600, 215}, {29, 600, 245},
};

constexpr Placed kPersonalDataHints[] = {
    {32, 690, 125}, {32, 690, 155}, {33, 670, 185}, {34, 630, 215}, {35, 630, 245}, {321, 100, 395},
};

// Behind the labels of the required fields, and in front of the footnote.
constexpr Placed kRequiredMarks[] = {
    {0, 100, 125}, {0, 100, 335}, {0, 600, 125}, {0, 600, 155}, {0, 600, 215}, {0, 100, 395},
};

ScreenText placedText(ScreenText::Kind kind, std::string line, int x, int y, int width,
                      int height) {
    ScreenText placed;
    placed.kind = kind;
    placed.text = std::move(line);
    placed.x = x;
    placed.y = y;
    placed.width = width;
    placed.height = height;
    return placed;
}

} // namespace

ScreenTexts earlierTestsTexts() {
    ScreenText instruction =
        placedText(ScreenText::Kind::Label, text(7) + " " + text(8), 20, 53, 560, 34);
    instruction.description =
        "Med tangentbordet: välj testperson med uppåtpil och nedåtpil och tryck Enter eller "
        "Alt+V för att visa resultatet. Ctrl+1 till Ctrl+9 sorterar listan efter kolumn 1 till 9.";
    return {placedText(ScreenText::Kind::Heading, text(6), 20, 30, 300, 23), instruction};
}

ScreenTexts personalDataTexts() {
    ScreenText heading = placedText(ScreenText::Kind::Heading, text(220), 105, 75, 500, 23);
    heading.description = "Tab och Enter går till nästa fält, Skift+Tab till föregående; Alt+F "
                          "fortsätter till råpoängen, Alt+A avbryter.";
    // The footnote explains the asterisks behind the labels of the required fields.
    std::string footnote = text(321);
    footnote.erase(0, footnote.find_first_not_of(' '));
    return {heading, placedText(ScreenText::Kind::Label, "* " + footnote, 100, 395, 400, 16)};
}

void ab_paint_earlier_tests(Dc& dc) {
    ab_paint_frame(dc, kBottomStripHeight);
    ab_paint_corner_bitmaps(dc);
    drawInFont(dc, arialFont(20, kFontWeightBold), 20, 30, text(6).c_str());
    drawText(dc, 20, 53, 7);
    drawText(dc, 20, 70, 8);
}

void ab_paint_personal_data(Dc& dc) {
    dc.setBkMode(BackgroundMode::Transparent);
    ab_paint_frame(dc, kBottomStripHeight);
    ab_paint_corner_bitmaps(dc);
    // Dated on every paint, so a form left open over midnight saves the new date.
    testOccasion().TD_TESTDATE = today();

    drawInFont(dc, arialFont(20, kFontWeightBold), 105, 75, text(220).c_str());

    const unsigned oldAlign = dc.setTextAlign(TextAlign::Right);
    for (const Placed& label : kPersonalDataLabels) {
        drawText(dc, label.x, label.y, label.textId);
    }
    dc.setTextAlign(oldAlign);

    const DcObject hintFont = dc.createFont(arialFont(14));
    const DcObject oldFont = dc.selectObject(hintFont);
    for (const Placed& hint : kPersonalDataHints) {
        drawText(dc, hint.x, hint.y, hint.textId);
    }
    const DcObject markFont = dc.createFont(arialFont(12));
    dc.selectObject(markFont);
    for (const Placed& mark : kRequiredMarks) {
        dc.textOut(mark.x, mark.y, "*");
    }
    dc.selectObject(oldFont);
    dc.deleteObject(hintFont);
    dc.deleteObject(markFont);
}
