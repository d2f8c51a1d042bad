// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "dc_base.h"
#include "main_window.h"
#include "program.h"
#include "program_driver.h"
#include "screen_resources.h"
#include "shell_state.h"
#include "start_up.h"
#include "statement.h"
#include "test_occasion.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Stands in for a screen of a later step: records what the main window hands it.
class ProbeScreen : public Screen {
  public:
    void build() override { ++builds; }
    void paint(Dc& dc) override {
        auto& state = dynamic_cast<DcBase&>(dc);
        paintedFontFace = state.currentFont().face;
        paintedBkColor = state.bkColor();
        ++paints;
    }
    void command(int id) override { commands.push_back(id); }

    int builds = 0;
    int paints = 0;
    std::string paintedFontFace;
    Rgb paintedBkColor;
    std::vector<int> commands;
};

// The main window after start-up, logged in, on the start screen.
class OnStartScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = new MainWindow;
        registerScreens(*window_);
        LoginAnswerer login("psykolog", "demo123");
        ASSERT_EQ(startUp(*window_), 1);
        window_->loadAccelerators();
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        window_->setFocus();
    }

    void TearDown() override {
        delete window_.data();
        processDeletions();
    }

    ProbeScreen* addProbe(int screenId) {
        auto probe = std::make_unique<ProbeScreen>();
        ProbeScreen* raw = probe.get();
        window_->setScreen(screenId, std::move(probe));
        return raw;
    }

    void expectStillOnStartScreen() {
        EXPECT_EQ(currentScreen(), SCREEN_START);
        EXPECT_TRUE(window_->sharedButton(91)->isVisible());
    }

    ProgramEnvironment environment_;
    QPointer<MainWindow> window_;
};

TEST_F(OnStartScreen, ButtonsCaptionsAndPlaces) {
    struct Expected {
        int id;
        const char* caption;
        QRect geometry;
        bool visible;
    };
    for (const Expected& button : {Expected{91, "&Nytt test", QRect(58, 320, 110, 40), true},
                                   Expected{92, "&Tidigare test", QRect(58, 370, 110, 40), true},
                                   Expected{90, "&Avsluta", QRect(58, 420, 110, 40), true},
                                   Expected{93, "&Inställningar", QRect(70, 430, 110, 40), false},
                                   Expected{94, " ", QRect(70, 430, 110, 40), false}}) {
        QPushButton* shared =
            window_->findChild<QPushButton*>(QStringLiteral("sharedButton%1").arg(button.id));
        ASSERT_NE(shared, nullptr) << button.id;
        EXPECT_EQ(shared->text(), QString::fromUtf8(button.caption)) << button.id;
        EXPECT_EQ(shared->geometry(), button.geometry) << button.id;
        EXPECT_EQ(shared->isVisible(), button.visible) << button.id;
        EXPECT_TRUE(shared->shortcut().isEmpty()) << button.id; // the accelerators act instead
    }
    EXPECT_EQ(currentScreen(), SCREEN_START);
    EXPECT_EQ(bottomRef(), 600);
}

TEST_F(OnStartScreen, EnterOnTheMainWindowActsAsButton91AndBeginsANewTest) {
    ProbeScreen* personalData = addProbe(SCREEN_PERSONAL_DATA);
    idCounter() = 77; // read again from the database, where it is 0
    rawScoreMode() = 1;
    testOccasion().RawScores[0] = 12;
    QTest::keyClick(window_, Qt::Key_Return);
    EXPECT_EQ(personalData->builds, 1);
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_EQ(idCounter(), 0);
    EXPECT_EQ(rawScoreMode(), 0);
    EXPECT_EQ(testOccasion().RawScores[0], NOT_ADMINISTERED);
    for (const int id : kSharedButtonIds) {
        EXPECT_FALSE(window_->sharedButton(id)->isVisible()) << id;
    }
    // The new screen now receives Enter as its command 91.
    QTest::keyClick(window_, Qt::Key_Enter);
    EXPECT_EQ(personalData->commands, std::vector<int>{91});
}

// A focused button answers Enter itself: "&Tidigare test" opens the earlier tests, not the new
// test that Enter on the window begins.
TEST_F(OnStartScreen, EnterOnAFocusedButtonPressesThatButton) {
    ProbeScreen* personalData = addProbe(SCREEN_PERSONAL_DATA);
    ProbeScreen* earlier = addProbe(SCREEN_EARLIER_TESTS);
    window_->sharedButton(92)->setFocus();
    QTest::keyClick(window_->sharedButton(92), Qt::Key_Return);
    EXPECT_EQ(personalData->builds, 0);
    EXPECT_EQ(earlier->builds, 1);
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
}

TEST_F(OnStartScreen, AcceleratorsAndButtonsOpenTheEarlierTestsAndTheNewTest) {
    ProbeScreen* earlier = addProbe(SCREEN_EARLIER_TESTS);
    ProbeScreen* personalData = addProbe(SCREEN_PERSONAL_DATA);
    QTest::keyClick(window_, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(earlier->builds, 1);
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
    EXPECT_FALSE(window_->sharedButton(91)->isVisible());

    // Every accelerator reaches the current screen as its command id.
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(window_, Qt::Key_O, Qt::AltModifier);
    QTest::keyClick(window_, Qt::Key_Escape);
    EXPECT_EQ(earlier->commands, (std::vector<int>{107, 105, 103}));

    window_->showScreen(SCREEN_START);
    expectStillOnStartScreen();
    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    EXPECT_EQ(personalData->builds, 1);
    window_->showScreen(SCREEN_START);
    QTest::keyClick(window_, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(personalData->builds, 2);
    window_->showScreen(SCREEN_START);
    QTest::mouseClick(window_->sharedButton(92), Qt::LeftButton);
    EXPECT_EQ(earlier->builds, 2);
}

TEST_F(OnStartScreen, NewTestWaitsForItsScreenAndEarlierTestsOpens) {
    window_->setScreen(SCREEN_PERSONAL_DATA, nullptr);
    QTest::keyClick(window_, Qt::Key_Return);
    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    QTest::keyClick(window_, Qt::Key_N, Qt::AltModifier);
    expectStillOnStartScreen();
    EXPECT_TRUE(window_->sharedButton(92)->isVisible());
    QTest::keyClick(window_, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
}

TEST_F(OnStartScreen, PaintingGetsTheControlFontAndTheBackgroundColour) {
    ProbeScreen* earlier = addProbe(SCREEN_EARLIER_TESTS);
    QTest::keyClick(window_, Qt::Key_T, Qt::AltModifier);
    window_->grab();
    EXPECT_GE(earlier->paints, 1);
    EXPECT_EQ(earlier->paintedFontFace, controlFontSpec().face);
    EXPECT_EQ(earlier->paintedBkColor, kBackgroundColour);
}

TEST_F(OnStartScreen, AltAEndsTheProgramAndClosesTheConnection) {
    QTest::keyClick(window_, Qt::Key_A, Qt::AltModifier);
    processDeletions();
    EXPECT_TRUE(window_.isNull());
    EXPECT_EQ(DoReadNameID(), DB_FAILED); // disconnected
}

TEST_F(OnStartScreen, ExitButtonEndsTheProgram) {
    QTest::mouseClick(window_->sharedButton(90), Qt::LeftButton);
    processDeletions();
    EXPECT_TRUE(window_.isNull());
}

TEST_F(OnStartScreen, CloseBoxEndsTheProgram) {
    window_->close();
    processDeletions();
    EXPECT_TRUE(window_.isNull());
}

// The notice about synthetic norms follows the flag stored with the norms, read again each time
// the start screen is shown: an import while the program runs shows on the way back.
TEST_F(OnStartScreen, NoticeAboutSyntheticNormsFollowsTheStoredFlag) {
    addProbe(SCREEN_EARLIER_TESTS);
    EXPECT_TRUE(syntheticNorms()); // init-db stores the demonstration norms' flag
    const auto run = [](const char* sql) {
        Statement statement;
        ASSERT_TRUE(statement.executeDirect(sql) && statement.commit()) << sql;
    };
    const auto leaveAndReturn = [this] {
        QTest::keyClick(window_, Qt::Key_T, Qt::AltModifier);
        window_->showScreen(SCREEN_START);
        expectStillOnStartScreen();
    };
    run("UPDATE NORMKALLA SET SYNTETISKA = 0, IMPORTERAD = '2026-12-07 08:00:00 UTC'");
    leaveAndReturn();
    EXPECT_FALSE(syntheticNorms());
    saveScreenshot(*window_, "start_screen_imported_norms.png");
    // A database made before the flag existed holds the demonstration norms.
    run("DROP TABLE NORMKALLA");
    leaveAndReturn();
    EXPECT_TRUE(syntheticNorms());
    EXPECT_TRUE(environment_.messages().texts().empty());
}

} // namespace
