// "&Skriv ut" on the results screen runs the print job; the screen keeps working while the job
// runs and after it was cancelled.

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

} // namespace
