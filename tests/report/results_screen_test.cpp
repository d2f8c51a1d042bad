// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "db.h"
#include "demo_database.h"
#include "earlier_tests_screen.h"
#include "main_window.h"
#include "message_capture.h"
#include "person_list_state.h"
#include "print_report_hook.h"
#include "qpainter_dc.h"
#include "report_pages.h"
#include "results_opening.h"
#include "results_screen.h"
#include "results_window.h"
#include "screen_size.h"
#include "shell_state.h"
#include "statement.h"
#include "stored_occasion.h"
#include "temp_dir.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The access log's newest row (empty when there is none).
AccessLogRow newestLogRow() {
    AccessLogRow newest;
    DoListAccessLog({}, [&newest](const AccessLogRow& row) { newest = row; });
    return newest;
}

// Stands in for the screens the results screen leads to.
class ProbeScreen : public Screen {
  public:
    void build() override { ++builds; }
    void paint(Dc&) override {}
    void command(int) override {}
    int builds = 0;
};

// Records the regions the report is painted in.
class PaintRecorder : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            if (region.intersects(reportArea)) {
                regions.push_back(region);
            }
        }
        return false;
    }
    QRect reportArea;
    std::vector<QRegion> regions;
};

// The main window with the results screen of a stored 50-year-old man on the demonstration
// norms; the earlier-tests and raw-score screens are probes. Every message box is recorded.
class ResultsScreenTest : public ::testing::Test {
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
        rawScoreMode() = 0;
        window_ = new MainWindow;
        window_->createSharedFonts();
        window_->createSharedButtons();
        window_->loadAccelerators();
        window_->setScreen(SCREEN_RESULTS, std::make_unique<ResultsScreen>(*window_));
        auto earlier = std::make_unique<ProbeScreen>();
        earlierTests_ = earlier.get();
        window_->setScreen(SCREEN_EARLIER_TESTS, std::move(earlier));
        auto raw = std::make_unique<ProbeScreen>();
        rawScores_ = raw.get();
        window_->setScreen(SCREEN_RAW_SCORES, std::move(raw));
        currentScreen() = SCREEN_EARLIER_TESTS;
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        open();
    }

    void TearDown() override {
        setPrintReportHandler({});
        delete window_.data();
        DoDisconnect();
    }

    void open() {
        messages_.clear();
        window_->showScreen(SCREEN_RESULTS);
        QApplication::processEvents();
    }

    QComboBox* list(int id) {
        const char* names[] = {"ageBandList_1", "confidenceList_2", "swBaseList_3",
                               "indexBaseList_4"};
        return window_->findChild<QComboBox*>(names[id - 1]);
    }
    ResultsWindow* results() { return window_->findChild<ResultsWindow*>("resultsWindow"); }
    QScrollBar* bar() { return results()->scrollBar(); }
    int firstLine() { return resultsView().firstLine; }
    int lastFullPage() { return resultsView().totalLines - results()->page(); }

    void key(int keyCode) {
        QTest::keyClick(results(), static_cast<Qt::Key>(keyCode));
        QApplication::processEvents();
    }
    void wheel(int angle) {
        const QPointF at(100, 100);
        QWheelEvent event(at, results()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(results(), &event);
        QApplication::processEvents();
    }
    // The first line and the scroll bar agree, and the view lies within the report.
    void expectInAgreement() {
        EXPECT_EQ(bar()->value(), firstLine());
        EXPECT_EQ(bar()->maximum(), std::max(0, lastFullPage()));
        EXPECT_EQ(bar()->pageStep(), results()->page());
        EXPECT_GE(firstLine(), 0);
        EXPECT_LE(firstLine(), std::max(0, lastFullPage()));
    }
    QWidget* focused() { return QApplication::focusWidget(); }
    bool onResultsScreen() { return currentScreen() == SCREEN_RESULTS && results() != nullptr; }

    // The first scroll line of the discrepancy page, measured with the screen's fonts.
    static int discrepancyPageLine() {
        QImage image(760, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        QPainterDc dc(painter);
        int y = ab_paint_resultat(dc, 0, 50, 600, 0) + 50;
        y = ab_paint_grafisk(dc, y, 50, 600, 0) + 20;
        y = ab_paint_deltestpoang(dc, y, 50, 600, 0) + 20;
        return y / resultsView().lineHeight;
    }

    void screenshot(const char* fileName) {
        const QDir folder(RIVO_SCREENSHOT_DIR);
        folder.mkpath(".");
        EXPECT_TRUE(window_->grab().save(folder.filePath(fileName), "PNG")) << fileName;
    }

    TempDir dir_;
    MessageCapture messages_;
    QPointer<MainWindow> window_;
    ProbeScreen* earlierTests_ = nullptr;
    ProbeScreen* rawScores_ = nullptr;
    int id_ = 0;
};

QStringList itemsOf(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

TEST_F(ResultsScreenTest, OpensWithItsListsButtonsAndWindowInPlace) {
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_EQ(window_->size(), QSize(800, screenHeight() - 70));
    const int h = window_->height();

    EXPECT_EQ(QString(testOccasion().ageBand), QString::fromUtf8("45-54 år"));
    EXPECT_EQ(list(1)->currentText(), QString::fromUtf8("45-54 år"));
    EXPECT_EQ(list(1)->itemText(0), QString::fromUtf8("16-17 år"));
    EXPECT_GE(list(1)->count(), 13);
    EXPECT_EQ(itemsOf(list(2)),
              QStringList({QString::fromStdString(text(238)), QString::fromStdString(text(239))}));
    EXPECT_EQ(itemsOf(list(3)),
              QStringList({QString::fromStdString(text(140)), QString::fromStdString(text(141))}));
    EXPECT_EQ(itemsOf(list(4)),
              QStringList({QString::fromStdString(text(630)), QString::fromStdString(text(631))}));
    EXPECT_EQ(list(2)->currentIndex(), 1);
    EXPECT_EQ(list(3)->currentIndex(), 0);
    EXPECT_EQ(list(4)->currentIndex(), 1);
    EXPECT_EQ(resultsView().ciLevel, 1);
    EXPECT_EQ(resultsView().swBase, 0);
    EXPECT_EQ(resultsView().indexBase, 1);
    const int xs[] = {20, 130, 510, 340};
    const int widths[] = {90, 200, 240, 150};
    for (int id = 1; id <= 4; ++id) {
        EXPECT_EQ(list(id)->pos(), QPoint(xs[id - 1], 105)) << id;
        EXPECT_GE(list(id)->width(), widths[id - 1]) << id;
        EXPECT_FALSE(list(id)->isEditable()) << id;
    }

    EXPECT_EQ(results()->geometry(), QRect(20, 140, 760, h - 240));
    EXPECT_EQ(results()->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(focused(), results());
    const struct {
        int id;
        int x;
        unsigned short caption;
    } buttons[] = {{90, 20, 95}, {91, 140, 173}, {92, 260, 174}};
    for (const auto& b : buttons) {
        QPushButton* button = window_->sharedButton(b.id);
        EXPECT_TRUE(button->isVisible()) << b.id;
        EXPECT_EQ(button->geometry(), QRect(b.x, h - 58, 110, 40)) << b.id;
        EXPECT_EQ(button->text(), QString::fromStdString(text(b.caption))) << b.id;
    }
    EXPECT_FALSE(window_->sharedButton(93)->isVisible());
    EXPECT_FALSE(window_->sharedButton(94)->isVisible());
    EXPECT_EQ(bottomRef(), h);

    // The first paint measured the report; the bar covers it from the top.
    EXPECT_GT(resultsView().totalLines, results()->page());
    EXPECT_EQ(firstLine(), 0);
    expectInAgreement();
    screenshot("results_screen_top.png");
}

TEST_F(ResultsScreenTest, AgeBandListScoresAgainAndAnUnknownBandIsReportedOnce) {
    const TestOccasion before = testOccasion();
    list(1)->setCurrentIndex(list(1)->findText(QString::fromUtf8("70-74 år")));
    QApplication::processEvents();
    const TestOccasion& after = testOccasion();
    EXPECT_STREQ(after.ageBand, "70-74 år");
    EXPECT_STRNE(after.normDescription, before.normDescription);
    // The new band's results were logged as seen, for this person.
    const AccessLogRow logged = newestLogRow();
    EXPECT_EQ(logged.event, "results-viewed");
    EXPECT_EQ(logged.person, std::optional<std::int32_t>(after.person.ID));
    EXPECT_EQ(logged.detail, "åldersgrupp 70-74 år");
    EXPECT_NE(std::memcmp(after.ScaledScores, before.ScaledScores, sizeof after.ScaledScores), 0);
    EXPECT_NE(after.indexes[HIK].sum, before.indexes[HIK].sum);
    EXPECT_TRUE(messages_.texts().empty());

    const int reference = list(1)->findText("Referensgrupp");
    ASSERT_GE(reference, 0);
    list(1)->setCurrentIndex(reference);
    QApplication::processEvents();
    // Painting and scrolling raise no box of their own.
    key(Qt::Key_PageDown);
    key(Qt::Key_End);
    results()->repaint();
    EXPECT_EQ(messages_.texts(),
              std::vector<std::string>{
                  "Error 1445 i normgruppselektering. Kontakta programleverantören."});
    expectInAgreement();
}

TEST_F(ResultsScreenTest, ChoiceListsOnlyRepaint) {
    const int lines = resultsView().totalLines;
    const TestOccasion before = testOccasion();
    list(2)->setCurrentIndex(0);
    QApplication::processEvents();
    EXPECT_EQ(resultsView().ciLevel, 0);
    EXPECT_EQ(resultsView().totalLines, lines);
    list(3)->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(resultsView().swBase, 1);
    list(4)->setCurrentIndex(0);
    QApplication::processEvents();
    EXPECT_EQ(resultsView().indexBase, 0);
    EXPECT_EQ(std::memcmp(&testOccasion(), &before, sizeof before), 0);
    expectInAgreement();

    // Every opening starts again from the screen's own choices.
    open();
    EXPECT_EQ(resultsView().ciLevel, 1);
    EXPECT_EQ(resultsView().swBase, 0);
    EXPECT_EQ(resultsView().indexBase, 1);
    EXPECT_EQ(list(2)->currentIndex(), 1);
}

TEST_F(ResultsScreenTest, KeysAndWheelStopAtTheEndsOfTheReport) {
    const int page = results()->page();
    EXPECT_EQ(page, results()->height() / 10);
    for (const int k : {Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Home}) {
        key(k);
        EXPECT_EQ(firstLine(), 0) << k;
    }
    wheel(120);
    EXPECT_EQ(firstLine(), 0);

    key(Qt::Key_Down);
    EXPECT_EQ(firstLine(), 1);
    key(Qt::Key_PageDown);
    EXPECT_EQ(firstLine(), 1 + page);
    wheel(-120);
    EXPECT_EQ(firstLine(), 6 + page);
    wheel(120);
    EXPECT_EQ(firstLine(), 1 + page);
    key(Qt::Key_Up);
    key(Qt::Key_PageUp);
    EXPECT_EQ(firstLine(), 0);
    expectInAgreement();

    // Page down with less than a page left stops at the last full page.
    key(Qt::Key_End);
    EXPECT_EQ(firstLine(), lastFullPage());
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    key(Qt::Key_PageDown);
    EXPECT_EQ(firstLine(), lastFullPage());
    for (const int k : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End}) {
        key(k);
        EXPECT_EQ(firstLine(), lastFullPage()) << k;
    }
    wheel(-120);
    EXPECT_EQ(firstLine(), lastFullPage());
    expectInAgreement();
    key(Qt::Key_Home);
    EXPECT_EQ(firstLine(), 0);
    expectInAgreement();
}

TEST_F(ResultsScreenTest, ScrollBarMovesTheViewAndFollowsIt) {
    bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(firstLine(), results()->page());
    expectInAgreement();
    bar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(firstLine(), results()->page() - 1);
    bar()->setSliderPosition(40); // dragging the thumb
    EXPECT_EQ(firstLine(), 40);
    bar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(firstLine(), lastFullPage());
    expectInAgreement();
    // The wheel over the bar scrolls the report by five lines too.
    const QPointF at(5, 50);
    QWheelEvent event(at, bar()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar(), &event);
    EXPECT_EQ(firstLine(), lastFullPage() - 5);
    expectInAgreement();
}

TEST_F(ResultsScreenTest, ScrollingPaintsOnlyTheUncoveredStrip) {
    QApplication::processEvents();
    PaintRecorder recorder;
    const QRect area = results()->reportRect();
    recorder.reportArea = area;
    results()->installEventFilter(&recorder);
    key(Qt::Key_Down);
    ASSERT_FALSE(recorder.regions.empty());
    for (const QRegion& region : recorder.regions) {
        EXPECT_EQ(region.boundingRect(), QRect(area.left(), area.bottom() - 9, area.width(), 10));
    }
    recorder.regions.clear();
    key(Qt::Key_Up);
    ASSERT_FALSE(recorder.regions.empty());
    EXPECT_EQ(recorder.regions.back().boundingRect(),
              QRect(area.left(), area.top(), area.width(), 10));
}

// A window taller than the report: nothing scrolls and the bar shows the whole range.
TEST_F(ResultsScreenTest, ReportShorterThanTheWindowDoesNotScroll) {
    const int lines = resultsView().totalLines;
    window_->placeWindow(0, 0, 800, lines * 10 + 400);
    QApplication::processEvents();
    results()->repaint();
    ASSERT_GT(results()->page(), resultsView().totalLines);
    for (const int k : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End}) {
        key(k);
        EXPECT_EQ(firstLine(), 0) << k;
    }
    wheel(-120);
    EXPECT_EQ(firstLine(), 0);
    EXPECT_EQ(bar()->maximum(), 0);
    expectInAgreement();
}

// A view at the end of the report, then a taller window: the view moves back to the new last
// full page and the bar stays with it.
TEST_F(ResultsScreenTest, GrowingWindowKeepsTheBarAndTheViewTogether) {
    key(Qt::Key_End);
    const int end = firstLine();
    window_->placeWindow(0, 0, 800, window_->height() + 200);
    QApplication::processEvents();
    EXPECT_EQ(firstLine(), end - 20);
    expectInAgreement();
}

// The ring in screen order: report, Normgrupp, Konfidensintervall, Diskrepansanalyser (list 4),
// Styrkor och svagheter (list 3), report; Shift+Tab the other way.
TEST_F(ResultsScreenTest, TabAndShiftTabGoRoundTheRingInScreenOrder) {
    QWidget* ring[] = {results(), list(1), list(2), list(4), list(3), results()};
    for (int i = 0; i + 1 < 6; ++i) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        EXPECT_EQ(focused(), ring[i + 1]) << i;
    }
    for (int i = 5; i > 0; --i) {
        QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(focused(), ring[i - 1]) << i;
    }
    // A click in the report gives it the focus back.
    list(2)->setFocus();
    QTest::mouseClick(results(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(focused(), results());
}

// Enter on the report or a closed list is "Ä&ndra råpoäng"; Esc on any of them goes back to the
// earlier tests. Leaving gives the main window the focus, where the next screen's Enter acts.
TEST_F(ResultsScreenTest, EnterChangesRawScoresAndEscapeLeavesFromEveryControl) {
    const char* names[] = {"resultsWindow", "ageBandList_1", "confidenceList_2", "swBaseList_3",
                           "indexBaseList_4"};
    for (const char* name : names) {
        auto* control = window_->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        control->setFocus();
        const int rawBuilds = rawScores_->builds;
        rawScoreMode() = 0;
        QTest::keyClick(control, Qt::Key_Return);
        EXPECT_EQ(rawScores_->builds, rawBuilds + 1) << name;
        EXPECT_EQ(rawScoreMode(), 1) << name;
        EXPECT_TRUE(window_->hasFocus()) << name;
        open();
        control = window_->findChild<QWidget*>(name);
        control->setFocus();
        const int builds = earlierTests_->builds;
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_EQ(earlierTests_->builds, builds + 1) << name;
        EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS) << name;
        EXPECT_TRUE(window_->hasFocus()) << name;
        open();
    }
    EXPECT_TRUE(messages_.texts().empty());
}

// An open drop-down keeps Enter and Esc: Enter chooses the entry, Esc only closes it; the next
// Esc leaves the screen.
TEST_F(ResultsScreenTest, AnOpenDropDownKeepsEnterAndEscape) {
    for (int id = 1; id <= 4; ++id) {
        QComboBox* box = list(id);
        box->setFocus();
        box->showPopup();
        ASSERT_TRUE(box->view()->isVisible()) << id;
        QTest::keyClick(box->view(), Qt::Key_Escape);
        EXPECT_FALSE(box->view()->isVisible()) << id;
        ASSERT_TRUE(onResultsScreen()) << id;
        box->showPopup();
        QTest::keyClick(box->view(), Qt::Key_Down);
        QTest::keyClick(box->view(), Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_FALSE(box->view()->isVisible()) << id;
        EXPECT_TRUE(onResultsScreen()) << id;
        EXPECT_EQ(rawScores_->builds, 0) << id;
        // The closed drop-down gives the window back its activation, as a window manager does
        // (the offscreen platform leaves the closed drop-down the active window).
        QApplication::setActiveWindow(window_);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS) << id;
        open();
    }
}

// Each drop-down shows its longest entry whole, and every list stays where it stands.
TEST_F(ResultsScreenTest, DropDownsAreWideEnoughForTheirEntries) {
    const int xs[] = {20, 130, 510, 340};
    for (int id = 1; id <= 4; ++id) {
        QComboBox* box = list(id);
        int longest = 0;
        for (const QString& item : itemsOf(box)) {
            longest = std::max(longest, box->fontMetrics().horizontalAdvance(item));
        }
        EXPECT_EQ(box->x(), xs[id - 1]) << id;
        EXPECT_LE(box->geometry().right(), 790) << id;
        box->showPopup();
        EXPECT_GT(box->view()->width(), longest) << id;
        box->hidePopup();
    }
    // No list runs into the next, and the chosen entry is whole in the tooltip.
    EXPECT_LT(list(1)->geometry().right(), list(2)->x());
    EXPECT_LT(list(2)->geometry().right(), list(4)->x());
    EXPECT_LT(list(4)->geometry().right(), list(3)->x());
    list(1)->setCurrentIndex(list(1)->findText("Referensgrupp"));
    EXPECT_EQ(list(1)->toolTip(), "Referensgrupp");
    EXPECT_EQ(list(3)->toolTip(), QString::fromStdString(text(140)));
}

// Enter on a focused shared button is not a command; on the main window itself it is
// "Ä&ndra råpoäng".
TEST_F(ResultsScreenTest, EnterOnAButtonDoesNothingAndOnTheWindowChangesRawScores) {
    int prints = 0;
    setPrintReportHandler([&prints] { ++prints; });
    for (const int id : {90, 91, 92}) {
        QPushButton* button = window_->sharedButton(id);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_TRUE(onResultsScreen()) << id;
    }
    EXPECT_EQ(prints, 0);
    EXPECT_EQ(rawScores_->builds, 0);
    QTest::keyClick(window_->sharedButton(91), Qt::Key_Escape);
    EXPECT_EQ(earlierTests_->builds, 1);
    open();
    window_->setFocus();
    QTest::keyClick(window_, Qt::Key_Return);
    EXPECT_EQ(rawScores_->builds, 1);
    EXPECT_EQ(rawScoreMode(), 1);
}

// The test age's band is missing from the norm group's subgroups: no entry is selected, the
// scores stay those of the band, and the missing row is named as a broken rule of the tables.
TEST_F(ResultsScreenTest, BandMissingFromTheListSelectsNothing) {
    {
        Statement statement;
        ASSERT_TRUE(
            statement.executeDirect("DELETE FROM NORMGRUPPER WHERE DELGRUPP LIKE '45-54%'"));
        statement.commit();
    }
    open();
    EXPECT_EQ(list(1)->currentIndex(), -1);
    EXPECT_EQ(list(1)->findText(QString::fromUtf8("45-54 år")), -1);
    EXPECT_STREQ(testOccasion().ageBand, "45-54 år");
    EXPECT_EQ(testOccasion().indexes[HIK].valid, 1);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_NE(messages_.texts()[0].find("NORMGRUPPER: DELGRUPP \"45-54 år\" saknas"),
              std::string::npos)
        << messages_.texts()[0];
}

// Norm tables that break a rule of check-norms, changed one after the other as an import would
// (a new stamp): each opening of the results and each print job says so in one box that names
// every rule broken so far with its table and row. The demonstration norms say nothing.
TEST_F(ResultsScreenTest, BrokenNormRulesAreSaidOnOpeningAndForThePrintJob) {
    int prints = 0;
    setPrintReportHandler([&prints] { ++prints; });
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(messages_.texts().empty());
    const struct {
        const char* sql;
        const char* finding;
    } cases[] = {
        {"UPDATE NORMER SET S5 = 0 WHERE DELSKALA = 'Blockmönster' AND DELGRUPP = '16-17 år'",
         "NORMER (Standardgrupp, Blockmönster, 16-17 år): S5 (0) är lägre än S4"},
        {"UPDATE NORMER SET S1 = -2 WHERE DELSKALA = 'Likheter' AND DELGRUPP = '30-34 år'",
         "NORMER (Standardgrupp, Likheter, 30-34 år): S1 (-2) är negativ"},
        {"DELETE FROM NORMGRUPPER WHERE DELGRUPP = '18-19 år'",
         "NORMGRUPPER: DELGRUPP \"18-19 år\" saknas"},
        {"UPDATE NORMGRUPPER SET BESKRIVNING = NULL WHERE DELGRUPP = '65-69 år'",
         "NORMGRUPPER (Standardgrupp, 65-69 år): BESKRIVNING saknar värde"},
        {"UPDATE INDEX_NORMER SET PERC = 250 WHERE \"INDEX\" = 'SI' AND SKAL = 10",
         "INDEX_NORMER (Standardgrupp, SI, 10): PERC 250 ligger utanför 0-100"},
    };
    std::size_t broken = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        for (const char* sql : {c.sql, "UPDATE NORMKALLA SET NORMVERSION = NORMVERSION + 1"}) {
            Statement statement;
            ASSERT_TRUE(statement.executeDirect(sql) && statement.commit());
        }
        ++broken;
        open();
        messages_.clear(); // the box of the print job must come from the print job
        QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
        ASSERT_EQ(messages_.texts().size(), 1u);
        open();
        ASSERT_EQ(messages_.texts().size(), 1u);
        const std::string said = messages_.texts()[0];
        EXPECT_NE(said.find("bryter mot " + std::to_string(broken) +
                            (broken == 1 ? " regel" : " regler")),
                  std::string::npos)
            << said;
        EXPECT_NE(said.find(c.finding), std::string::npos) << said;
    }
    EXPECT_EQ(prints, 1 + static_cast<int>(std::size(cases)));
}

TEST_F(ResultsScreenTest, ButtonsChangeRawScoresLeaveAndPrint) {
    int prints = 0;
    setPrintReportHandler([&prints] { ++prints; });
    QTest::mouseClick(window_->sharedButton(92), Qt::LeftButton);
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(prints, 2);
    EXPECT_TRUE(onResultsScreen());

    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    EXPECT_EQ(rawScoreMode(), 1);
    EXPECT_EQ(rawScores_->builds, 1);
    EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    EXPECT_EQ(results(), nullptr);
    EXPECT_EQ(list(1), nullptr);
    for (const int id : {90, 91, 92}) {
        EXPECT_FALSE(window_->sharedButton(id)->isVisible()) << id;
    }

    open();
    QTest::mouseClick(window_->sharedButton(90), Qt::LeftButton);
    EXPECT_EQ(earlierTests_->builds, 1);
    EXPECT_EQ(list(4), nullptr);
    open();
    QTest::keyClick(window_, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(earlierTests_->builds, 2);
    open();
    rawScoreMode() = 0;
    QTest::keyClick(window_, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(rawScoreMode(), 1);
    EXPECT_EQ(rawScores_->builds, 2);
}

TEST_F(ResultsScreenTest, WithoutThePrintJobOrTheRawScoreFormNothingHappens) {
    window_->setScreen(SCREEN_RAW_SCORES, nullptr);
    rawScores_ = nullptr;
    QTest::mouseClick(window_->sharedButton(92), Qt::LeftButton);
    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    EXPECT_TRUE(onResultsScreen());
    EXPECT_EQ(rawScoreMode(), 0);
    EXPECT_TRUE(messages_.texts().empty());
}

// With the real earlier-tests screen: "&Visa resultat" on a stored person opens this screen with
// that person, and "&Avbryt" leads back to the list with the row selected again.
TEST_F(ResultsScreenTest, FromTheEarlierTestsAndBack) {
    const int second = storeHalfScoredPerson("Ulla Berg", 73);
    ASSERT_GT(second, 0);
    window_->setScreen(SCREEN_EARLIER_TESTS, std::make_unique<EarlierTestsScreen>(*window_));
    personListState() = PersonListState{};
    personListState().sortColumn = 9;
    personListState().descending = 1;
    window_->showScreen(SCREEN_EARLIER_TESTS);
    auto* persons = window_->findChild<QTreeView*>("personList_1000");
    ASSERT_NE(persons, nullptr);
    ASSERT_EQ(persons->model()->rowCount(), 2);
    ASSERT_EQ(persons->model()->index(0, 0).data().toString(), QString::fromUtf8("Ulla Berg"));
    persons->selectionModel()->setCurrentIndex(persons->model()->index(0, 0),
                                               QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    QApplication::processEvents();

    ASSERT_TRUE(onResultsScreen());
    EXPECT_STREQ(testOccasion().person.NAMN, "Ulla Berg");
    EXPECT_EQ(list(1)->currentText(), QString::fromUtf8("70-74 år"));
    EXPECT_GT(resultsView().totalLines, 0);
    EXPECT_EQ(focused(), results());
    EXPECT_TRUE(messages_.texts().empty());

    QTest::keyClick(results(), Qt::Key_Escape);
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
    EXPECT_EQ(results(), nullptr);
    persons = window_->findChild<QTreeView*>("personList_1000");
    ASSERT_NE(persons, nullptr);
    EXPECT_TRUE(persons->selectionModel()->isRowSelected(0));
}

TEST_F(ResultsScreenTest, ScrolledToTheDiscrepancyPage) {
    const int line = discrepancyPageLine();
    ASSERT_LE(line, lastFullPage());
    results()->scrollReport(ScrollRequest::ThumbPosition, line);
    QApplication::processEvents();
    EXPECT_EQ(firstLine(), line);
    expectInAgreement();
    screenshot("results_screen_discrepancy.png");
}

} // namespace
