// SPDX-License-Identifier: Apache-2.0
#include "sheet_frame.h"

#include "bitmap_ids.h"
#include "clock.h"
#include "page_tools.h"
#include "test_age.h"
#include "test_occasion.h"
#include "text_layout.h"
#include "text_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kLogoTop = 20;
constexpr int kLogoWidth = 125;
constexpr int kLogoHeight = 31;
constexpr int kLabelGap = 5;  // from a label to its value
constexpr int kValueGap = 50; // from a value to the next label on the same line

constexpr unsigned short kTitleText = 187;
constexpr unsigned short kSexLabel = 28;
constexpr unsigned short kFemale = 41;
constexpr unsigned short kMale = 42;
constexpr unsigned short kTestAgeLabel = 27;
constexpr unsigned short kTestDateLabel = 25;
constexpr unsigned short kOtherLabel = 30;
constexpr unsigned short kNormGroupLabel = 200;
constexpr unsigned short kOldBandNote = 632;
constexpr unsigned short kCredit = 37;

// The bands whose subtest norms come from elsewhere; the person block says so.
constexpr const char* kBandsWithBorrowedNorms[] = {"75-79 år", "80-84 år", "85-90 år"};

// The sheet fonts: a face that is not installed anywhere, so that the roman family decides.
FontSpec sheetFont(int height, int weight, bool italic = false) {
    return FontSpec{height, weight, italic, false, "New Times Roman", FontFamily::Roman};
}

void blackRule(Dc& dc, int left, int right, int y) {
    const SelectedObject pen(dc, dc.createPen(PenSpec{PenStyle::Solid, 1, Rgb{0, 0, 0}}));
    drawLine(dc, left, y, right, y);
}

void textAt(Dc& dc, int x, int y, const std::string& text, unsigned align) {
    const unsigned previous = dc.setTextAlign(align);
    dc.textOut(x, y, text);
    dc.setTextAlign(previous);
}

// Label and value pairs along one line of the person block.
class PersonLine {
  public:
    PersonLine(Dc& dc, DcObject labelFont, DcObject valueFont, int x, int y)
        : dc_(dc), labelFont_(labelFont), valueFont_(valueFont), x_(x), y_(y) {}

    void add(unsigned short labelId, const std::string& value) {
        const std::string label = text(labelId) + ":   ";
        const DcObject previous = dc_.selectObject(labelFont_);
        textAt(dc_, x_, y_, label, TextAlign::Left | TextAlign::Top);
        x_ += dc_.textExtent(label).cx + kLabelGap;
        dc_.selectObject(valueFont_);
        textAt(dc_, x_, y_, value, TextAlign::Left | TextAlign::Top);
        x_ += dc_.textExtent(value).cx + kValueGap;
        dc_.selectObject(previous);
    }

  private:
    Dc& dc_;
    DcObject labelFont_;
    DcObject valueFont_;
    int x_;
    int y_;
};

// "%04d-%02d-%02d", the form of every printed date.
std::string isoDate(int year, int month, int day) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

bool hasBorrowedNorms(const char* normDescription) {
    for (const char* band : kBandsWithBorrowedNorms) {
        if (std::strcmp(normDescription, band) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int sheetHeightFor(int contentBottom) {
    return std::max(kSheetHeight, contentBottom + kFooterGap + kFooterRuleOffset);
}

void setSheetMapping(SheetPrinter& printer, int height) {
    Dc& dc = printer.dc();
    const DcSize area = printer.printableArea();
    dc.setMapMode(MapMode::Anisotropic);
    dc.setWindowExt(kSheetWidth, height);
    dc.setViewportExt(area.cx, area.cy);
    dc.setViewportOrg(0, 0);
}

int printSheetHeader(Dc& dc, int left, int right, int dateY) {
    const DcObject logo = dc.loadBitmap(kBitmapPrintLogo);
    if (logo != 0) {
        dc.stretchBitmap(logo, left, kLogoTop, kLogoWidth, kLogoHeight);
        dc.deleteObject(logo);
    }
    blackRule(dc, left, right, kSheetHeaderBottom);

    const DateValue date = today();
    const SelectedObject font(dc, dc.createFont(sheetFont(12, kFontWeightNormal, true)));
    textAt(dc, right, dateY, isoDate(date.year, date.month, date.day),
           TextAlign::Right | TextAlign::Top);
    return kSheetHeaderBottom;
}

int printPersonBlock(Dc& dc, int left, int right, int top) {
    const TestOccasion& occasion = testOccasion();
    const PersonRecord& person = occasion.person;

    int y = 0;
    {
        const SelectedObject title(dc, dc.createFont(sheetFont(16, kFontWeightBold)));
        const std::string heading = text(kTitleText) + person.NAMN;
        y = ab_text_wrap(dc, top + 30, heading.c_str(), left, right, 1, 0);
    }

    const DcObject labelFont = dc.createFont(sheetFont(14, kFontWeightNormal));
    const DcObject valueFont = dc.createFont(sheetFont(14, kFontWeightBold));
    const DcObject entryFont = dc.selectObject(labelFont);
    const TextMetrics metrics = dc.textMetrics();
    const int lineHeight = metrics.height + metrics.externalLeading + 2;

    PersonLine first(dc, labelFont, valueFont, left, y);
    first.add(kSexLabel, text(person.SEX == 1 ? kMale : kFemale));
    first.add(kTestAgeLabel, testAgeText(person));
    first.add(kTestDateLabel, storedDateText(person.TESTDATE));
    y += lineHeight;
    PersonLine(dc, labelFont, valueFont, left, y).add(kOtherLabel, person.OTHER);
    y += lineHeight;
    PersonLine(dc, labelFont, valueFont, left, y).add(kNormGroupLabel, occasion.normDescription);
    y += lineHeight + 2;
    if (hasBorrowedNorms(occasion.normDescription)) {
        dc.selectObject(valueFont);
        textAt(dc, left, y, text(kOldBandNote), TextAlign::Left | TextAlign::Top);
    }

    dc.selectObject(entryFont);
    dc.deleteObject(labelFont);
    dc.deleteObject(valueFont);
    return y + lineHeight + 10;
}

int startReportSheet(SheetPrinter& printer, int left, int right, int dateY, int height) {
    if (!printer.startSheet()) {
        return 0;
    }
    setSheetMapping(printer, height);
    Dc& dc = printer.dc();
    printSheetHeader(dc, left, right, dateY);
    return printPersonBlock(dc, left, right, dateY + 20);
}

void printSheetFooter(SheetPrinter& printer, int left, int right, int number) {
    Dc& dc = printer.dc();
    const int bottom = printer.printableBottom();
    {
        const SelectedObject font(dc, dc.createFont(sheetFont(14, kFontWeightNormal)));
        char page[24];
        std::snprintf(page, sizeof page, "Sida %d", number);
        textAt(dc, right, bottom - 30, page, TextAlign::Right | TextAlign::Top);
    }
    {
        const SelectedObject font(dc, dc.createFont(sheetFont(9, kFontWeightDefault)));
        const std::string credit = text(kCredit);
        ab_text_wrap(dc, bottom - 40, credit.c_str(), left, right - 370, 1, 0);
    }
    blackRule(dc, left, right, bottom - kFooterRuleOffset);
    printer.endSheet();
}
