// SPDX-License-Identifier: Apache-2.0
// Copying the report from the results screen: Ctrl+C, the "Kopiera" button and Alt+K put the
// report on the clipboard as HTML and as tab-separated text, logged first as report-copied; a
// copy the access log refuses leaves the clipboard as it was.
#include "access_log.h"
#include "db.h"
#include "demo_database.h"
#include "index_table.h"
#include "main_window.h"
#include "message_capture.h"
#include "report_document.h"
#include "report_html.h"
#include "report_pages.h"
#include "report_plain_text.h"
#include "results_screen.h"
#include "screen_size.h"
#include "shell_state.h"
#include "statement.h"
#include "stored_occasion.h"
#include "temp_dir.h"
#include "test_occasion.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

class NoScreen : public Screen {
  public:
    void build() override {}
    void paint(Dc&) override {}
    void command(int) override {}
};

std::vector<AccessLogRow> copiedRows() {
    std::vector<AccessLogRow> rows;
    DoListAccessLog({}, [&rows](const AccessLogRow& row) {
        if (row.event == "report-copied") {
            rows.push_back(row);
        }
    });
    return rows;
}

bool execute(const char* sql) {
    Statement statement;
    return statement.executeDirect(sql) && statement.commit();
}

class ReportCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = dir_.file(kDatabaseFileName).string();
        std::string error;
        ASSERT_TRUE(createDemoDatabase(path, "psykolog", "demo123", error)) << error;
        ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
        std::strcpy(testOccasion().NORMGRUPP, "Standardgrupp");
        id_ = storeHalfScoredPerson("Örjan Ek", 50);
        ASSERT_GT(id_, 0);
        ASSERT_TRUE(loadStoredOccasion(id_));
        const ScreenSize screen = screenSize();
        screenWidth() = screen.width;
        screenHeight() = screen.height;
        window_ = new MainWindow;
        window_->createSharedFonts();
        window_->createSharedButtons();
        window_->loadAccelerators();
        window_->setScreen(SCREEN_RESULTS, std::make_unique<ResultsScreen>(*window_));
        window_->setScreen(SCREEN_EARLIER_TESTS, std::make_unique<NoScreen>());
        currentScreen() = SCREEN_EARLIER_TESTS;
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        window_->showScreen(SCREEN_RESULTS);
        QApplication::processEvents();
        messages_.clear();
    }

    void TearDown() override {
        delete window_.data();
        DoDisconnect();
    }

    QPushButton* copyButton() { return window_->findChild<QPushButton*>("copyReportButton"); }

    // The three ways to copy.
    std::vector<std::pair<const char*, std::function<void()>>> ways() {
        return {
            {"Ctrl+C", [this] { QTest::keyClick(window_, Qt::Key_C, Qt::ControlModifier); }},
            {"Kopiera", [this] { QTest::mouseClick(copyButton(), Qt::LeftButton); }},
            {"Alt+K", [this] { QTest::keyClick(window_, Qt::Key_K, Qt::AltModifier); }},
        };
    }

    TempDir dir_;
    MessageCapture messages_;
    QPointer<MainWindow> window_;
    int id_ = 0;
};

TEST_F(ReportCopy, EachWayCopiesTheReportAsHtmlAndTabSeparatedTextAndIsLogged) {
    ASSERT_NE(copyButton(), nullptr);
    EXPECT_TRUE(copyButton()->isVisible());
    EXPECT_EQ(copyButton()->focusPolicy(), Qt::NoFocus);
    const ReportDocument document = readReportDocument(0);
    ASSERT_FALSE(document.pages.empty());
    const QString html = QString::fromStdString(reportHtml(document));
    const QString text = QString::fromStdString(reportPlainText(document));
    const IndexTable indexes = indexTable(testOccasion(), resultsView().ciLevel);
    std::size_t copies = 0;
    for (const auto& [way, copy] : ways()) {
        SCOPED_TRACE(way);
        QGuiApplication::clipboard()->setText(QStringLiteral("tidigare"));
        copy();
        QApplication::processEvents();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(copied, nullptr);
        EXPECT_TRUE(copied->hasHtml());
        EXPECT_EQ(copied->html(), html);
        EXPECT_EQ(copied->text(), text);
        // Each index's score stands in a tab-separated row of the text that names the index.
        for (const IndexTableRow& row : indexes.rows) {
            const QString name = QString::fromUtf8(row.name);
            const QString score = QString::fromUtf8(row.IK);
            bool found = false;
            for (const QString& line : copied->text().split('\n')) {
                found = found || (line.contains(name) && line.split('\t').contains(score));
            }
            EXPECT_TRUE(found) << row.name << " " << row.IK;
        }
        const std::vector<AccessLogRow> rows = copiedRows();
        ASSERT_EQ(rows.size(), ++copies);
        EXPECT_EQ(rows.back().person, id_);
        EXPECT_EQ(rows.back().detail, "urklipp");
    }
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(ReportCopy, ACopyTheAccessLogRefusesLeavesTheClipboardAsItWas) {
    ASSERT_TRUE(execute("CREATE TRIGGER no_log BEFORE INSERT ON ATKOMSTLOGG BEGIN "
                        "SELECT RAISE(ABORT, 'loggen är full'); END"));
    for (const auto& [way, copy] : ways()) {
        SCOPED_TRACE(way);
        messages_.clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("tidigare"));
        copy();
        QApplication::processEvents();
        EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasHtml());
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("tidigare"));
        ASSERT_FALSE(messages_.texts().empty());
        EXPECT_EQ(messages_.texts().back(), kAccessLogRefusedMessage);
    }
    ASSERT_TRUE(execute("DROP TRIGGER no_log"));
    EXPECT_TRUE(copiedRows().empty());
}

} // namespace
