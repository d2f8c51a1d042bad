// SPDX-License-Identifier: Apache-2.0
// The print job on the offscreen platform, printing into a PDF file through the print dialog
// seam, read back with the poppler tools.

#include "access_log.h"
#include "age_band_index.h"
#include "cancel_print_dialog.h"
#include "message_capture.h"
#include "pdf_reader.h"
#include "print_dialog.h"
#include "print_report_job.h"
#include "report_fixture.h"
#include "report_pages.h"
#include "report_pdf.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace {

// The access log's newest row (empty when there is none).
AccessLogRow newestLogRow() {
    AccessLogRow newest;
    DoListAccessLog({}, [&newest](const AccessLogRow& row) { newest = row; });
    return newest;
}

// Answers the print dialog for the length of a test: print into a PDF file on the given paper,
// or cancel. onShown runs once the job goes on, before the first sheet.
class PrintDialogAnswer {
  public:
    PrintDialogAnswer(std::string path, QPageSize::PageSizeId size,
                      QPageLayout::Orientation orientation, bool accept = true)
        : previous_(setPrintDialogHandler([=, this](QPrinter& printer) {
              ++shown;
              printer.setOutputFormat(QPrinter::PdfFormat);
              printer.setOutputFileName(QString::fromStdString(path));
              printer.setPageSize(QPageSize(size));
              printer.setPageOrientation(orientation);
              if (accept && onAccepted) {
                  QTimer::singleShot(0, onAccepted);
              }
              return accept;
          })) {}
    ~PrintDialogAnswer() { setPrintDialogHandler(previous_); }
    PrintDialogAnswer(const PrintDialogAnswer&) = delete;
    PrintDialogAnswer& operator=(const PrintDialogAnswer&) = delete;

    int shown = 0;
    // Runs from the event loop at the first abort check, that is after sheet 1.
    std::function<void()> onAccepted;

  private:
    PrintDialogHandler previous_;
};

CancelPrintDialog* shownCancelDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "printCancelDialog" && widget->isVisible()) {
            return static_cast<CancelPrintDialog*>(widget);
        }
    }
    return nullptr;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The rows of the image that are dark across most of its width: the rules of the sheet.
std::vector<int> ruleRows(const QImage& image) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        int dark = 0;
        for (int x = 0; x < image.width(); ++x) {
            dark += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
        }
        if (dark > image.width() * 3 / 4) {
            rows.push_back(y);
        }
    }
    return rows;
}

class PrintJob : public ReportFixture {
  protected:
    // The person's SEX 0 (printed as a woman) is no value the form stores, and is named; the
    // print job itself says nothing.
    void expectOnlyTheSexMessage() const {
        for (const std::string& text : messages_.texts()) {
            EXPECT_NE(text.find("kön (SEX) 0"), std::string::npos) << text;
        }
    }
    // Only what the print job itself says is looked at: the scoring's messages are cleared.
    void SetUp() override {
        ReportFixture::SetUp();
        messages_.clear();
    }
    MessageCapture messages_;
};

TEST_F(PrintJob, FiveNumberedSheetsWithTodaysDateAndThePersonBlockFromTheSecond) {
    const std::string pdf = pdfPath("report.pdf");
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait);
    const std::int32_t rowsBefore = newestLogRow().seq;
    printReportJob();
    EXPECT_EQ(answer.shown, 1);
    ASSERT_EQ(pdfPageCount(pdf), 5);
    // One row for the printed report, naming the person.
    const AccessLogRow logged = newestLogRow();
    EXPECT_EQ(logged.seq, rowsBefore + 1);
    EXPECT_EQ(logged.event, "printed");
    EXPECT_EQ(logged.person, std::optional<std::int32_t>(testOccasion().person.ID));
    for (int sheet = 1; sheet <= 5; ++sheet) {
        const std::string page = pdfPageText(pdf, sheet);
        EXPECT_TRUE(contains(page, "Sida " + std::to_string(sheet))) << sheet;
        EXPECT_TRUE(contains(page, kToday)) << sheet;
        EXPECT_EQ(contains(page, "Resultatredovisning för"), sheet > 1) << sheet;
        if (sheet > 1) {
            EXPECT_TRUE(contains(page, kName)) << sheet;
            EXPECT_TRUE(contains(page, "Kvinna")) << sheet;
            EXPECT_TRUE(contains(page, "80-84 år")) << sheet;
            EXPECT_TRUE(contains(page, "hämtade från den amerikanska normeringen")) << sheet;
            EXPECT_TRUE(contains(page, "2030-11-20")) << sheet;
        }
    }
    // Whole pages: the last rows of the index table and of the strengths and weaknesses.
    EXPECT_TRUE(contains(pdfPageText(pdf, 1), "General Ability Index - GAI"));
    EXPECT_TRUE(contains(pdfPageText(pdf, 4), "Styrkor och svagheter"));
    EXPECT_TRUE(contains(pdfPageText(pdf, 4), "Kodning"));
    expectOnlyTheSexMessage();
    EXPECT_EQ(shownCancelDialog(), nullptr);

    std::filesystem::create_directories(RIVO_SCREENSHOT_DIR);
    for (const int sheet : {1, 2, 4, 5}) {
        const QImage image = pdfPageImage(pdf, sheet, 100);
        ASSERT_FALSE(image.isNull());
        const std::string name = "/print_sheet" + std::to_string(sheet) + ".png";
        EXPECT_TRUE(image.save(QString::fromStdString(RIVO_SCREENSHOT_DIR + name)));
    }
}

TEST_F(PrintJob, YoungerBandsHaveNoNoteAndMenArePrintedAsMen) {
    scorePerson(1980, 1);
    const std::string pdf = pdfPath("young.pdf");
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait);
    printReportJob();
    ASSERT_EQ(pdfPageCount(pdf), 5);
    for (int sheet = 2; sheet <= 5; ++sheet) {
        const std::string page = pdfPageText(pdf, sheet);
        EXPECT_TRUE(contains(page, "45-54 år")) << sheet;
        EXPECT_TRUE(contains(page, "Man")) << sheet;
        EXPECT_FALSE(contains(page, "amerikanska normeringen")) << sheet;
    }
}

TEST_F(PrintJob, PaperSizeAndOrientationAreFilledInBothDirections) {
    const struct {
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
        const char* name;
        const char* pageSize;
    } papers[] = {
        {QPageSize::A4, QPageLayout::Portrait, "a4.pdf", "595 x 842 pts (A4)"},
        {QPageSize::Letter, QPageLayout::Landscape, "letter.pdf", "792 x 612 pts (letter)"}};
    for (const auto& paper : papers) {
        const std::string pdf = pdfPath(paper.name);
        PrintDialogAnswer answer(pdf, paper.size, paper.orientation);
        printReportJob();
        ASSERT_EQ(pdfPageCount(pdf), 5) << paper.name;
        EXPECT_EQ(pdfInfoField(pdf, "Page size"), paper.pageSize);
        const QImage sheet = pdfPageImage(pdf, 2, 50);
        ASSERT_FALSE(sheet.isNull());
        if (paper.orientation == QPageLayout::Landscape) {
            std::filesystem::create_directories(RIVO_SCREENSHOT_DIR);
            pdfPageImage(pdf, 4, 100)
                .save(RIVO_SCREENSHOT_DIR "/print_sheet4_letter_landscape.png");
        }
        // The header rule at logical y 60 and the footer rule 50 above the lower edge of a page
        // of 600 or more units, both from x 50 to 750 of 800: the page is stretched onto the
        // sheet in both directions.
        const std::vector<int> rules = ruleRows(sheet);
        ASSERT_GE(rules.size(), 2u) << paper.name;
        const double header = double(rules.front()) / sheet.height();
        const double footer = double(rules.back()) / sheet.height();
        EXPECT_GT(header, 0.04) << paper.name;
        EXPECT_LT(header, 0.16) << paper.name;
        EXPECT_GT(footer, 0.85) << paper.name;
        EXPECT_LT(footer, 0.95) << paper.name;
        int left = sheet.width();
        int right = 0;
        for (int x = 0; x < sheet.width(); ++x) {
            if (qGray(sheet.pixel(x, rules.back())) < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        EXPECT_NEAR(double(right - left) / sheet.width(), 700.0 / 800.0, 0.06) << paper.name;
    }
}

TEST_F(PrintJob, CancellingThePrintDialogPrintsNothingAndSaysNothing) {
    const std::string pdf = pdfPath("cancelled.pdf");
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait, false);
    const std::int32_t rowsBefore = newestLogRow().seq;
    printReportJob();
    EXPECT_EQ(answer.shown, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(newestLogRow().seq, rowsBefore); // nothing printed, nothing logged
    expectOnlyTheSexMessage();
    EXPECT_EQ(shownCancelDialog(), nullptr);
}

// Print to a file that bears the register's name: refused before the access log records a print.
TEST_F(PrintJob, PrintToTheRegistersNameIsRefusedBeforeAnythingIsLogged) {
    const std::string pdf = pdfPath(kDatabaseFileName);
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait);
    const std::int32_t rowsBefore = newestLogRow().seq;
    printReportJob();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(newestLogRow().seq, rowsBefore);
    ASSERT_FALSE(messages_.texts().empty());
    EXPECT_TRUE(contains(messages_.texts().back(), pdf + " är registret"))
        << messages_.texts().back();
}

TEST_F(PrintJob, CancelDialogShowsTheTitleAndItsButtonStopsTheJob) {
    const std::string pdf = pdfPath("stopped.pdf");
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait);
    bool seen = false;
    answer.onAccepted = [&] {
        CancelPrintDialog* dialog = shownCancelDialog();
        ASSERT_NE(dialog, nullptr);
        seen = true;
        auto* title = dialog->findChild<QWidget*>("titleText_10");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->property("text").toString(), "RIVO-IV");
        auto* button = dialog->findChild<QPushButton*>("cancelButton_2");
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    };
    printReportJob();
    EXPECT_TRUE(seen);
    // Nothing of the stopped document is left, and a cancel is not a failure.
    EXPECT_FALSE(std::filesystem::exists(pdf));
    expectOnlyTheSexMessage();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shownCancelDialog(), nullptr);

    // The next job runs as usual.
    const std::string again = pdfPath("again.pdf");
    PrintDialogAnswer second(again, QPageSize::A4, QPageLayout::Portrait);
    printReportJob();
    EXPECT_EQ(pdfPageCount(again), 5);
}

TEST_F(PrintJob, EscInTheCancelDialogStopsTheJobAndASecondRequestIsIgnored) {
    const std::string pdf = pdfPath("escaped.pdf");
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait);
    answer.onAccepted = [&] {
        // "&Skriv ut" pressed again while the job runs: nothing new starts.
        printReportJob();
        CancelPrintDialog* dialog = shownCancelDialog();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog, Qt::Key_Escape);
    };
    printReportJob();
    EXPECT_EQ(answer.shown, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    expectOnlyTheSexMessage();
}

TEST_F(PrintJob, AnAgeBandOutsideTheBandsIsReportedOnceAndTheReportStillPrints) {
    std::strcpy(testOccasion().ageBand, "Referensgrupp");
    const std::string pdf = pdfPath("reference.pdf");
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait);
    printReportJob();
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{kAgeBandErrorText});
    EXPECT_EQ(pdfPageCount(pdf), 5);
    // Shown for this subgroup already: the next job prints without it.
    printReportJob();
    EXPECT_EQ(messages_.texts().size(), 1u);
    EXPECT_EQ(answer.shown, 2);
}

TEST_F(PrintJob, ADocumentThatCannotStartEndsWithOneMessage) {
    const std::string pdf = pdfPath("no-such-folder/report.pdf");
    PrintDialogAnswer answer(pdf, QPageSize::A4, QPageLayout::Portrait);
    printReportJob();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_EQ(messages_.texts()[0].rfind(kPrintFailedMessage, 0), 0u) << messages_.texts()[0];
    EXPECT_NE(messages_.texts()[0].find(pdf), std::string::npos) << messages_.texts()[0];
    EXPECT_EQ(shownCancelDialog(), nullptr);
}

// The real print dialog, filled in as a user would: print to a file with the copies, collation and
// order chosen. The job obeys each of them; the sheets are read back by their page numbers.
TEST_F(PrintJob, TheDialogsCopiesCollationAndOrderAreObeyed) {
    const struct {
        const char* name;
        int copies;
        bool collate;
        bool reverse;
        bool grayscale;
        std::vector<int> pages;
    } rows[] = {
        {"one.pdf", 1, false, false, false, {1, 2, 3, 4, 5}},
        {"collated.pdf", 2, true, false, false, {1, 2, 3, 4, 5, 1, 2, 3, 4, 5}},
        {"uncollated.pdf", 2, false, false, false, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5}},
        {"reversed.pdf", 1, false, true, false, {5, 4, 3, 2, 1}},
        {"grayscale.pdf", 1, false, false, true, {1, 2, 3, 4, 5}},
    };
    for (const auto& row : rows) {
        const std::string pdf = pdfPath(row.name);
        bool filled = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            // The whole report is printed: there is no range or page set to choose.
            for (const char* name : {"gbPrintRange", "pageSetCombo"}) {
                EXPECT_FALSE(dialog->findChild<QWidget*>(name)->isVisibleTo(dialog)) << name;
            }
            dialog->findChild<QLineEdit*>("filename")->setText(QString::fromStdString(pdf));
            dialog->findChild<QSpinBox*>("copies")->setValue(row.copies);
            dialog->findChild<QCheckBox*>("collate")->setChecked(row.collate);
            dialog->findChild<QCheckBox*>("reverse")->setChecked(row.reverse);
            dialog->findChild<QRadioButton*>(row.grayscale ? "grayscale" : "color")
                ->setChecked(true);
            filled = true;
            dialog->accept();
        });
        printReportJob();
        ASSERT_TRUE(filled) << row.name;
        std::vector<int> pages;
        for (int sheet = 1; sheet <= pdfPageCount(pdf); ++sheet) {
            const std::string text = pdfPageText(pdf, sheet);
            const std::size_t at = text.find("Sida ");
            pages.push_back(at == std::string::npos ? 0 : std::atoi(text.c_str() + at + 5));
        }
        EXPECT_EQ(pages, row.pages) << row.name;
        // The graphs are drawn in colour unless grey was chosen.
        const auto graphsSheet = std::find(pages.begin(), pages.end(), 2) - pages.begin() + 1;
        const QImage graphs = pdfPageImage(pdf, static_cast<int>(graphsSheet), 50);
        bool coloured = false;
        for (int y = 0; y < graphs.height() && !coloured; ++y) {
            for (int x = 0; x < graphs.width() && !coloured; ++x) {
                const QColor colour = graphs.pixelColor(x, y);
                coloured = std::abs(colour.red() - colour.blue()) > 40;
            }
        }
        EXPECT_EQ(coloured, !row.grayscale) << row.name;
    }
    EXPECT_TRUE(messages_.texts().empty());
}

using ReportPdf = ReportFixture;

TEST_F(ReportPdf, ReplacesAnOlderFileAndMakesItPrivate) {
    const std::string pdf = pdfPath("older.pdf");
    {
        std::FILE* older = std::fopen(pdf.c_str(), "w");
        ASSERT_NE(older, nullptr);
        std::fputs("an older report", older);
        std::fclose(older);
        ASSERT_EQ(::chmod(pdf.c_str(), 0644), 0);
    }
    std::string error;
    ASSERT_TRUE(writeReportPdf(pdf, error)) << error;
    EXPECT_EQ(pdfPageCount(pdf), 5);
    EXPECT_EQ(pdfInfoField(pdf, "Page size"), "595 x 842 pts (A4)");
    struct stat status {};
    ASSERT_EQ(::stat(pdf.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(ReportPdf, RefusesWhatIsNoRegularFileAndLeavesItAlone) {
    const std::string fifo = pdfPath("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string folder = pdfPath("folder");
    std::filesystem::create_directory(folder);
    for (const std::string& path : {fifo, folder}) {
        std::string error;
        EXPECT_FALSE(writeReportPdf(path, error)) << path;
        EXPECT_FALSE(error.empty()) << path;
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0) << path;
        EXPECT_NE(status.st_mode & 0777, 0600u) << path;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(CancelPrintDialogKeys, EnterOnTheButtonAndEscBothCancelOnce) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        int cancels = 0;
        QPointer<CancelPrintDialog> dialog = new CancelPrintDialog(nullptr, [&] { ++cancels; });
        dialog->show();
        auto* button = dialog->findChild<QPushButton*>("cancelButton_2");
        ASSERT_NE(button, nullptr);
        // Tab keeps the focus on the one button.
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget() == nullptr || QApplication::focusWidget() == button,
                  true);
        QTest::keyClick(button, key);
        EXPECT_EQ(cancels, 1) << key;
        EXPECT_FALSE(dialog->isVisible()) << key;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull()) << key;
    }
}

TEST(CancelPrintDialogKeys, Screenshot) {
    CancelPrintDialog dialog(nullptr, [] {});
    dialog.show();
    std::filesystem::create_directories(RIVO_SCREENSHOT_DIR);
    EXPECT_TRUE(dialog.grab().save(RIVO_SCREENSHOT_DIR "/print_cancel_dialog.png"));
}

} // namespace
