// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"
#include "demo_database.h"
#include "main_window.h"
#include "message_capture.h"
#include "results_screen.h"
#include "results_window.h"
#include "screen_size.h"
#include "shell_state.h"
#include "stored_occasion.h"
#include "temp_dir.h"
#include "test_occasion.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>

// The main window showing the results screen of a stored 50-year-old man on the demonstration
// norms, every message box recorded.
class StoredResultsScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = dir_.file(kDatabaseFileName).string();
        std::string error;
        ASSERT_TRUE(createDemoDatabase(path, "psykolog", "demo123", error)) << error;
        ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
        std::strcpy(testOccasion().NORMGRUPP, "Standardgrupp");
        const int id = storeHalfScoredPerson("Örjan Ek", 50);
        ASSERT_GT(id, 0);
        ASSERT_TRUE(loadStoredOccasion(id));
        const ScreenSize screen = screenSize();
        screenWidth() = screen.width;
        screenHeight() = screen.height;
        window_ = new MainWindow;
        window_->createSharedFonts();
        window_->createSharedButtons();
        window_->loadAccelerators();
        window_->setScreen(SCREEN_RESULTS, std::make_unique<ResultsScreen>(*window_));
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        window_->showScreen(SCREEN_RESULTS);
        QApplication::processEvents();
    }
    void TearDown() override {
        delete window_.data();
        DoDisconnect();
    }

    ResultsWindow* results() { return window_->findChild<ResultsWindow*>("resultsWindow"); }

    TempDir dir_;
    MessageCapture messages_;
    QPointer<MainWindow> window_;
};
