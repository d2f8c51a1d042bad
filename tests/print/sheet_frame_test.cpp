// SPDX-License-Identifier: Apache-2.0
// The sheet frame and the order of the sheets, on the recording device context: exact places,
// fonts and the document and sheet calls.

#include "bitmap_ids.h"
#include "clock.h"
#include "message_capture.h"
#include "recording_dc.h"
#include "report_sheets.h"
#include "sheet_frame.h"
#include "test_occasion.h"
#include "text_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A printer that records the document and sheet calls and can be told to refuse or to cancel.
class RecordingSheetPrinter : public SheetPrinter {
  public:
    RecordingSheetPrinter() { dc_.addBitmapResource(kBitmapPrintLogo, 376, 95); }

    bool startDocument() override {
        calls.push_back("startDocument");
        return !refuseDocument;
    }
    bool startSheet() override {
        ++sheetsStarted;
        calls.push_back("startSheet");
        if (sheetsStarted == refuseSheet) {
            return false;
        }
        sheetFirstText_ = dc_.texts().size();
        return true;
    }
    void endSheet() override {
        calls.push_back("endSheet");
        sheets.push_back(Sheet{printableBottom(), sheetFirstText_, dc_.texts().size()});
        ++sheetsEnded;
    }
    bool endDocument() override {
        calls.push_back("endDocument");
        return true;
    }
    void abortDocument() override { calls.push_back("abortDocument"); }
    bool abortCheck() override { return ++abortChecks != cancelAtCheck; }
    Dc& dc() override { return dc_; }
    Dc& measuringDc() override { return measuring_; }
    DcSize printableArea() const override { return DcSize{4760, 6840}; }
    int printableBottom() const override {
        return dc_.mapping().mode == MapMode::Anisotropic ? dc_.mapping().windowCy : 600;
    }

    // What each ended sheet held: its logical height and the range of its texts.
    struct Sheet {
        int height;
        std::size_t firstText;
        std::size_t endText;
    };

    RecordingDc dc_{true};
    std::vector<std::string> calls;
    std::vector<Sheet> sheets;
    bool refuseDocument = false;
    int refuseSheet = 0;   // the sheet (1-5) that cannot be started
    int cancelAtCheck = 0; // the user cancels at this abort check (1-5)
    int abortChecks = 0;
    int sheetsStarted = 0;
    int sheetsEnded = 0;

  private:
    RecordingDc measuring_{true};
    std::size_t sheetFirstText_ = 0;
};

const RecordingDc::Text* findText(const RecordingDc& dc, const std::string& part) {
    const auto& texts = dc.texts();
    const auto found = std::find_if(texts.begin(), texts.end(), [&](const RecordingDc::Text& t) {
        return t.text.find(part) != std::string::npos;
    });
    return found == texts.end() ? nullptr : &*found;
}

int countTexts(const RecordingDc& dc, const std::string& part) {
    return static_cast<int>(
        std::count_if(dc.texts().begin(), dc.texts().end(), [&](const RecordingDc::Text& t) {
            return t.text.find(part) != std::string::npos;
        }));
}

bool hasLine(const RecordingDc& dc, int x1, int y1, int x2, int y2) {
    return std::any_of(dc.lines().begin(), dc.lines().end(), [&](const RecordingDc::Line& l) {
        return l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2 && l.pen.width == 1 &&
               l.pen.colour == Rgb{0, 0, 0} && l.pen.style == PenStyle::Solid;
    });
}

class SheetFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        setFixedToday(DateValue{2031, 4, 9});
        resetTestOccasion();
        PersonRecord& person = testOccasion().person;
        std::strcpy(person.NAMN, "Åsa Provperson");
        person.SEX = 0;
        person.BORNDATE = DateValue{1948, 3, 2};
        person.TESTDATE = DateValue{2030, 11, 20};
        std::strcpy(person.OTHER, "Remiss från vårdcentralen");
        std::strcpy(testOccasion().normDescription, "80-84 år");
    }
    void TearDown() override { clearFixedToday(); }

    RecordingSheetPrinter printer;
    RecordingDc& dc = printer.dc_;
    MessageCapture messages;
};

TEST_F(SheetFrame, HeaderHasLogoRuleAndTodaysDateInItalicSerif) {
    EXPECT_EQ(printSheetHeader(dc, 50, 750, 20), 60);
    ASSERT_EQ(dc.bitmaps().size(), 1u);
    const RecordingDc::Bitmap& logo = dc.bitmaps()[0];
    EXPECT_EQ(logo.resourceId, kBitmapPrintLogo);
    EXPECT_TRUE(logo.stretched);
    EXPECT_EQ((std::vector<int>{logo.x, logo.y, logo.width, logo.height}),
              (std::vector<int>{50, 20, 125, 31}));
    EXPECT_TRUE(hasLine(dc, 50, 60, 750, 60));

    const RecordingDc::Text* date = findText(dc, "2031-04-09");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->text, "2031-04-09"); // today, not the test date
    EXPECT_EQ(date->x, 750);
    EXPECT_EQ(date->y, 20);
    EXPECT_EQ(date->align & TextAlign::HorizontalMask, TextAlign::Right);
    EXPECT_EQ(date->font.height, 12);
    EXPECT_TRUE(date->font.italic);
    EXPECT_EQ(date->font.face, "New Times Roman");
    EXPECT_EQ(date->font.family, FontFamily::Roman);
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

TEST_F(SheetFrame, DateHasFourDigitYearAndTwoDigitMonthAndDay) {
    setFixedToday(DateValue{987, 3, 7});
    printSheetHeader(dc, 50, 750, 20);
    EXPECT_NE(findText(dc, "0987-03-07"), nullptr);
}

TEST_F(SheetFrame, PersonBlockLinesUpLabelsAndValues) {
    const int bottom = printPersonBlock(dc, 50, 750, 40);
    const RecordingDc::Text* title = findText(dc, "Resultatredovisning för Åsa Provperson");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->y, 70);
    EXPECT_EQ(title->font.height, 16);
    EXPECT_EQ(title->font.weight, kFontWeightBold);

    const TextMetrics label = RecordingDc::metricsFor(
        FontSpec{14, kFontWeightNormal, false, false, "New Times Roman", FontFamily::Roman});
    const int lineHeight = label.height + label.externalLeading + 2;
    const TextMetrics titleMetrics = RecordingDc::metricsFor(title->font);
    const int titleStep = titleMetrics.height + titleMetrics.externalLeading + 2;
    const int first = 70 + titleStep;

    const RecordingDc::Text* sexLabel = findText(dc, "Kön:   ");
    const RecordingDc::Text* sex = findText(dc, "Kvinna");
    ASSERT_NE(sexLabel, nullptr);
    ASSERT_NE(sex, nullptr);
    EXPECT_EQ(sexLabel->y, first);
    EXPECT_EQ(sexLabel->x, 50);
    EXPECT_EQ(sexLabel->font.weight, kFontWeightNormal);
    EXPECT_EQ(sex->x, 50 +
                          static_cast<int>(std::string("Kön:   ").size() - 1) *
                              RecordingDc::characterWidth(sexLabel->font) +
                          5);
    EXPECT_EQ(sex->font.weight, kFontWeightBold);
    EXPECT_EQ(sex->font.height, 14);

    // The next label on the line starts 50 units after the value.
    const RecordingDc::Text* ageLabel = findText(dc, "Testålder:   ");
    ASSERT_NE(ageLabel, nullptr);
    EXPECT_EQ(ageLabel->y, first);
    EXPECT_EQ(ageLabel->x, sex->x + 6 * RecordingDc::characterWidth(sex->font) + 50);
    EXPECT_NE(findText(dc, "82.8.18"), nullptr);
    EXPECT_NE(findText(dc, "2030-11-20"), nullptr);

    EXPECT_EQ(findText(dc, "Övrigt:   ")->y, first + lineHeight);
    EXPECT_NE(findText(dc, "Remiss från vårdcentralen"), nullptr);
    EXPECT_EQ(findText(dc, "Normgrupp:   ")->y, first + 2 * lineHeight);
    const RecordingDc::Text* note = findText(dc, text(632));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->y, first + 3 * lineHeight + 2);
    EXPECT_EQ(note->font.weight, kFontWeightBold);
    EXPECT_EQ(bottom, first + 3 * lineHeight + 2 + lineHeight + 10);
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

TEST_F(SheetFrame, NoteOnBorrowedNormsOnlyForTheThreeOldestBands) {
    const struct {
        const char* band;
        bool note;
    } rows[] = {{"70-74 år", false}, {"75-79 år", true},  {"80-84 år", true},
                {"85-90 år", true},  {"16-17 år", false}, {"", false}};
    int bottom = -1;
    for (const auto& row : rows) {
        std::strcpy(testOccasion().normDescription, row.band);
        RecordingDc fresh(true);
        const int y = printPersonBlock(fresh, 50, 750, 40);
        EXPECT_EQ(findText(fresh, text(632)) != nullptr, row.note) << row.band;
        // The content starts at the same place with or without the note.
        EXPECT_TRUE(bottom < 0 || y == bottom) << row.band;
        bottom = y;
    }
}

TEST_F(SheetFrame, MenAreMenAndEveryOtherSexIsKvinna) {
    for (const int sex : {0, 1, 2}) {
        testOccasion().person.SEX = sex;
        RecordingDc fresh(true);
        printPersonBlock(fresh, 50, 750, 40);
        EXPECT_EQ(findText(fresh, "Man") != nullptr, sex == 1) << sex;
        EXPECT_EQ(findText(fresh, "Kvinna") != nullptr, sex != 1) << sex;
    }
}

TEST_F(SheetFrame, FooterNumbersTheSheetAboveTheLowerEdgeAndEndsIt) {
    printSheetFooter(printer, 50, 750, 3);
    const RecordingDc::Text* page = findText(dc, "Sida 3");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->x, 750);
    EXPECT_EQ(page->y, 570);
    EXPECT_EQ(page->align & TextAlign::HorizontalMask, TextAlign::Right);
    EXPECT_EQ(page->font.height, 14);
    EXPECT_TRUE(hasLine(dc, 50, 550, 750, 550));
    // The credit is wrapped in the left part, its first line at bottom - 40.
    const std::string credit = text(37);
    const RecordingDc::Text* first = findText(dc, credit.substr(0, 8));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y, 560);
    EXPECT_EQ(first->font.height, 9);
    for (const RecordingDc::Text& t : dc.texts()) {
        if (t.font.height == 9) {
            EXPECT_LE(t.x + static_cast<int>(t.text.size()) * 5, 750 - 370 + 5 * 2) << t.text;
        }
    }
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"endSheet"}));
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

TEST_F(SheetFrame, StartingASheetMapsTheLogicalPageOntoThePrintableArea) {
    const int top = startReportSheet(printer, 50, 750, 20);
    EXPECT_GT(top, 70);
    EXPECT_EQ(dc.mapping().mode, MapMode::Anisotropic);
    EXPECT_EQ(dc.mapping().windowCx, 800);
    EXPECT_EQ(dc.mapping().windowCy, 600);
    EXPECT_EQ(dc.mapping().viewportCx, 4760);
    EXPECT_EQ(dc.mapping().viewportCy, 6840);
    EXPECT_EQ(dc.mapping().viewportX, 0);
    EXPECT_EQ(dc.mapping().viewportY, 0);
    // The person block starts 20 below the date.
    EXPECT_EQ(findText(dc, "Resultatredovisning för")->y, 70);

    printer.refuseSheet = 2;
    dc.clearRecords();
    EXPECT_EQ(startReportSheet(printer, 50, 750, 20), 0);
    EXPECT_TRUE(dc.texts().empty());
}

TEST_F(SheetFrame, FiveSheetsInOrderWithThePersonBlockFromTheSecond) {
    EXPECT_EQ(printReportSheets(printer), SheetsOutcome::Printed);
    EXPECT_EQ(printer.abortChecks, 5);
    EXPECT_EQ(printer.sheetsStarted, 5);
    EXPECT_EQ(printer.sheetsEnded, 5);
    EXPECT_EQ(printer.calls.front(), "startDocument");
    EXPECT_EQ(printer.calls.back(), "endDocument");
    for (int sheet = 1; sheet <= 5; ++sheet) {
        EXPECT_EQ(countTexts(dc, "Sida " + std::to_string(sheet)), 1) << sheet;
    }
    EXPECT_EQ(countTexts(dc, "2031-04-09"), 5);
    EXPECT_EQ(countTexts(dc, "Resultatredovisning för"), 4);
    // The first sheet's page starts 60 below the header rule; the person block comes first on
    // the others, so the first "Sida" follows texts without it.
    const auto& texts = dc.texts();
    const auto firstPage = std::find_if(texts.begin(), texts.end(), [](const auto& t) {
        return t.text.find("Sida 1") != std::string::npos;
    });
    EXPECT_TRUE(std::none_of(texts.begin(), firstPage, [](const auto& t) {
        return t.text.find("Resultatredovisning för") != std::string::npos;
    }));
    EXPECT_EQ(dc.liveObjectCount(), 0);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(SheetFrame, EveryPageEndsAboveItsFooterHoweverTallItIs) {
    ASSERT_EQ(printReportSheets(printer), SheetsOutcome::Printed);
    ASSERT_EQ(printer.sheets.size(), 5u);
    bool taller = false;
    for (std::size_t sheet = 0; sheet < 5; ++sheet) {
        const auto& record = printer.sheets[sheet];
        EXPECT_GE(record.height, 600) << sheet;
        taller = taller || record.height > 600;
        const int rule = record.height - 50;
        EXPECT_TRUE(hasLine(dc, 50, rule, 750, rule)) << sheet;
        for (std::size_t i = record.firstText; i < record.endText; ++i) {
            const RecordingDc::Text& t = dc.texts()[i];
            const bool footer = t.font.height == 9 || t.text.starts_with("Sida ");
            if (!footer) {
                EXPECT_LT(t.y + t.font.height, rule) << sheet << ": " << t.text;
            }
        }
    }
    // The report's pages are taller than 600 units; the sheets grow with them.
    EXPECT_TRUE(taller);
}

TEST(SheetHeight, SixHundredUnlessTheContentNeedsMore) {
    EXPECT_EQ(sheetHeightFor(0), 600);
    EXPECT_EQ(sheetHeightFor(540), 600);
    EXPECT_EQ(sheetHeightFor(541), 601);
    EXPECT_EQ(sheetHeightFor(1065), 1125);
}

TEST_F(SheetFrame, ASheetThatCannotStartAbortsTheDocument) {
    for (const int refused : {1, 2, 5}) {
        RecordingSheetPrinter failing;
        failing.refuseSheet = refused;
        EXPECT_EQ(printReportSheets(failing), SheetsOutcome::Failed) << refused;
        EXPECT_EQ(failing.sheetsEnded, refused - 1);
        EXPECT_EQ(failing.calls.back(), "abortDocument");
        EXPECT_EQ(std::count(failing.calls.begin(), failing.calls.end(), "endDocument"), 0);
    }
    RecordingSheetPrinter refusing;
    refusing.refuseDocument = true;
    EXPECT_EQ(printReportSheets(refusing), SheetsOutcome::Failed);
    EXPECT_EQ(refusing.calls, (std::vector<std::string>{"startDocument"}));
}

TEST_F(SheetFrame, ACancelWhileThePagesAreLaidOutNeverBeginsTheDocument) {
    for (const int check : {1, 3, 5}) {
        RecordingSheetPrinter cancelling;
        cancelling.cancelAtCheck = check;
        EXPECT_EQ(printReportSheets(cancelling), SheetsOutcome::Cancelled) << check;
        EXPECT_EQ(cancelling.abortChecks, check);
        EXPECT_TRUE(cancelling.calls.empty()) << check;
        EXPECT_TRUE(cancelling.dc_.texts().empty()) << check;
    }
}

} // namespace
