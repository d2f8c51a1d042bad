// SPDX-License-Identifier: Apache-2.0
// "&Skriv ut" on the results screen runs the print job; the screen keeps working while the job
// runs and after it was cancelled.

#include "age_band_index.h"
#include "main_window.h"
#include "pdf_reader.h"
#include "print_dialog.h"
#include "program.h"
#include "program_driver.h"
#include "report_pages.h"
#include "results_screen.h"
#include "screen_ids.h"
#include "shell_state.h"
#include "start_up.h"
#include "subtest_table.h"
#include "test_occasion.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace {

constexpr int kPrintButton = 92;

class PrintFromResults : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = new MainWindow;
        registerScreens(*window_);
        LoginAnswerer login("psykolog", "demo123");
        ASSERT_EQ(startUp(*window_), 1);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_));

        TestOccasion& occasion = testOccasion();
        std::strcpy(occasion.person.NAMN, "Provperson Utskrift");
        occasion.person.SEX = 2;
        occasion.person.BORNDATE = DateValue{1970, 5, 5};
        occasion.person.TESTDATE = DateValue{2012, 9, 3};
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
        for (int raw = 0; raw < kRawScoreCount; ++raw) {
            occasion.RawScores[raw] = kSubtests[raw].formMax / 2;
        }
        // The total the form stores for the three digit-span parts.
        occasion.RawScores[RAW_SIFFERREPETITION] = occasion.RawScores[RAW_SRFRAM] +
                                                   occasion.RawScores[RAW_SRBAK] +
                                                   occasion.RawScores[RAW_SS];
        window_->setScreen(SCREEN_RESULTS, std::make_unique<ResultsScreen>(*window_));
        window_->showScreen(SCREEN_RESULTS);
        ASSERT_EQ(currentScreen(), SCREEN_RESULTS);
    }

    void TearDown() override {
        setPrintDialogHandler({});
        delete window_.data();
        processDeletions();
    }

    // The print dialog answered with a PDF file; during reacts once the job runs.
    void answerPrintDialog(const std::string& pdf, std::function<void()> during = {}) {
        setPrintDialogHandler([this, pdf, during](QPrinter& printer) {
            ++dialogs_;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            if (during) {
                QTimer::singleShot(0, during);
            }
            return true;
        });
    }

    QWidget* cancelDialog() const {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "printCancelDialog" && widget->isVisible()) {
                return widget;
            }
        }
        return nullptr;
    }

    ProgramEnvironment environment_;
    QPointer<MainWindow> window_;
    int dialogs_ = 0;
};

TEST_F(PrintFromResults, TheButtonPrintsTheFiveSheets) {
    const std::string pdf = environment_.dir().file("report.pdf").string();
    answerPrintDialog(pdf);
    QTest::mouseClick(window_->sharedButton(kPrintButton), Qt::LeftButton);
    EXPECT_EQ(dialogs_, 1);
    ASSERT_EQ(pdfPageCount(pdf), 5);
    EXPECT_NE(pdfPageText(pdf, 5).find("Provperson Utskrift"), std::string::npos);
    EXPECT_TRUE(environment_.messages().texts().empty());
}

TEST_F(PrintFromResults, TheScreenWorksDuringTheJobAndAfterItWasCancelled) {
    const std::string pdf = environment_.dir().file("cancelled.pdf").string();
    auto* confidence = window_->findChild<QComboBox*>("confidenceList_2");
    ASSERT_NE(confidence, nullptr);
    ASSERT_EQ(resultsView().ciLevel, 1);
    bool ranDuringJob = false;
    answerPrintDialog(pdf, [&] {
        // Between sheets: the user picks the 90 % interval on the results screen, then cancels.
        confidence->setCurrentIndex(0);
        EXPECT_EQ(resultsView().ciLevel, 0);
        QWidget* dialog = cancelDialog();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton_2"), Qt::LeftButton);
        ranDuringJob = true;
    });
    QTest::mouseClick(window_->sharedButton(kPrintButton), Qt::LeftButton);
    EXPECT_TRUE(ranDuringJob);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(environment_.messages().texts().empty());
    processDeletions();
    EXPECT_EQ(cancelDialog(), nullptr);
    EXPECT_EQ(currentScreen(), SCREEN_RESULTS);
    EXPECT_TRUE(window_->sharedButton(kPrintButton)->isVisible());

    // The choice made during the job holds, and the next job prints it.
    const std::string again = environment_.dir().file("again.pdf").string();
    answerPrintDialog(again);
    window_->command(kPrintButton);
    ASSERT_EQ(pdfPageCount(again), 5);
    EXPECT_NE(pdfPageText(again, 1).find("90% konfidensintervall"), std::string::npos);
}

// The PDF holds health data: it is its owner's alone whatever the umask, and a cancelled job
// leaves neither it nor a temporary behind.
TEST_F(PrintFromResults, ThePrintedPdfIsPrivateAndACancelLeavesNothing) {
    const mode_t previous = ::umask(0);
    const std::string pdf = environment_.dir().file("private.pdf").string();
    answerPrintDialog(pdf);
    window_->command(kPrintButton);
    ::umask(previous);
    ASSERT_EQ(pdfPageCount(pdf), 5);
    struct stat status {};
    ASSERT_EQ(::stat(pdf.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    const std::string cancelled = environment_.dir().file("cancelled.pdf").string();
    answerPrintDialog(cancelled, [this] {
        QTest::mouseClick(cancelDialog()->findChild<QPushButton*>("cancelButton_2"),
                          Qt::LeftButton);
    });
    window_->command(kPrintButton);
    processDeletions();
    for (const auto& entry : std::filesystem::directory_iterator(environment_.dir().path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find("cancelled"), std::string::npos) << name;
    }
}

// "Error 1445" is shown once for the chosen "Referensgrupp"; printing then does not show it
// again, and the PDF is written.
TEST_F(PrintFromResults, TheAgeBandMessageIsNotRepeatedByThePrintJob) {
    auto* ageBands = window_->findChild<QComboBox*>("ageBandList_1");
    ASSERT_NE(ageBands, nullptr);
    ageBands->setCurrentIndex(ageBands->findText("Referensgrupp"));
    EXPECT_EQ(environment_.messages().texts(), std::vector<std::string>{kAgeBandErrorText});
    const std::string pdf = environment_.dir().file("reference.pdf").string();
    answerPrintDialog(pdf);
    window_->command(kPrintButton);
    window_->command(kPrintButton);
    EXPECT_EQ(environment_.messages().texts().size(), 1u);
    EXPECT_EQ(pdfPageCount(pdf), 5);
}

// After "Ä&ndra råpoäng" the forms have their own 800 × 600 client area again.
TEST_F(PrintFromResults, FormsAfterTheResultsHaveTheirOwnSize) {
    window_->command(CMD_ALT_N);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    EXPECT_EQ(window_->size(), QSize(800, 600));
    EXPECT_EQ(mainClientArea().cy, 600);
    saveScreenshot(*window_, "raw_scores_after_results.png");
    window_->command(CMD_ESCAPE);
    ASSERT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_EQ(window_->size(), QSize(800, 600));
    saveScreenshot(*window_, "personal_data_after_results.png");
}

} // namespace
