// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "first_start.h"
#include "instance_lock.h"
#include "login_dialog.h"
#include "main_window.h"
#include "program.h"
#include "program_driver.h"
#include "running_instance.h"
#include "screen_size.h"
#include "shell_state.h"
#include "test_occasion.h"
#include "text_table.h"
#include "window_placement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Whether the process holds a flock, as the kernel lists it (watching the lock from outside
// without taking it, which would keep the program from starting).
bool holdsFileLock(qint64 pid) {
    std::ifstream locks("/proc/locks");
    std::string line;
    const std::string owner = " " + std::to_string(pid) + " ";
    while (std::getline(locks, line)) {
        if (line.find("FLOCK") != std::string::npos && line.find(owner) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(ProcessEntry, LoginLeadsToTheStartScreenAndEscEndsTheProgram) {
    ProgramEnvironment environment;
    LoginAnswerer login("psykolog", "demo123");
    login.onShown = [](LoginDialog& dialog) { saveScreenshot(dialog, "login_dialog.png"); };
    StartScreenWatcher watcher([](MainWindow& window) {
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8("RIVO-IV – Start"));
        EXPECT_EQ(window.size(), QSize(800, 600));
        EXPECT_EQ(window.minimumSize(), window.maximumSize()); // not resizable
        EXPECT_STREQ(testOccasion().NORMGRUPP, "Standardgrupp");
        EXPECT_TRUE(window.sharedButton(91)->isVisible());
        saveScreenshot(window, "start_screen.png");
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(login.answered(), 1);
    EXPECT_TRUE(watcher.ran());
    EXPECT_TRUE(environment.messages().texts().empty());
    processDeletions();
    EXPECT_EQ(visibleMainWindow(), nullptr);
    // The connection was closed with the window.
    EXPECT_EQ(DoReadNameID(), DB_FAILED);
}

// Without DODODA.db in the folder the program says so in Swedish, with the ways to make one,
// instead of the driver's refusal; it creates nothing.
TEST(ProcessEntry, MissingDatabaseIsToldWithTheWayToMakeOne) {
    ProgramEnvironment environment(false);
    EXPECT_EQ(WinMain(), 0);
    const std::vector<MessageRequest>& shown = environment.messages().requests();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, missingDatabaseMessage(std::filesystem::current_path().string()));
    for (const char* words :
         {"Det finns ingen databas (DODODA.db) i mappen ", "rivo-admin init-db", "programmenyn"}) {
        EXPECT_NE(shown[0].text.find(words), std::string::npos) << words;
    }
    EXPECT_EQ(shown[0].caption, "RIVO-IV");
    processDeletions();
    EXPECT_EQ(visibleMainWindow(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(environment.dir().file("DODODA.db")));
}

// An option the program does not know is refused with the usage text, before any window, and
// with rivo-admin's status for a failure (1; 2 there means written with warnings).
TEST(ProcessEntry, UnknownOptionIsRefusedWithTheUsage) {
    TempDir dir;
    for (const char* option : {"--data-foldr", "extra", "--bogus"}) {
        QProcess program;
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.insert("QT_QPA_PLATFORM", "offscreen");
        variables.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path().string()));
        program.setProcessEnvironment(variables);
        program.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        program.start(RIVO_IV_PATH, {option});
        ASSERT_TRUE(program.waitForFinished(20000)) << option;
        const std::string error = program.readAllStandardError().toStdString();
        EXPECT_EQ(program.exitCode(), 1) << option;
        EXPECT_NE(error.find(option), std::string::npos) << error;
        EXPECT_NE(error.find("Användning: RIVO_IV [--data-folder]"), std::string::npos) << error;
    }
}

// The client area keeps its size; the frame is kept inside the available area of the screen.
TEST(WindowPlacement, TheFrameFitsTheAvailableArea) {
    const QMargins frame(4, 24, 4, 4);
    const struct {
        QRect requested;
        QRect available;
        QRect client;
    } rows[] = {
        {{560, 240, 800, 600}, {0, 0, 1920, 1080}, {560, 240, 800, 600}},
        {{0, 0, 800, 600}, {0, 0, 800, 600}, {4, 24, 800, 600}},
        {{0, 0, 800, 600}, {0, 30, 1024, 738}, {4, 54, 800, 600}},
        {{1500, 900, 800, 600}, {0, 0, 1920, 1080}, {1116, 476, 800, 600}},
        {{560, 10, 800, 1010}, {0, 0, 1920, 1080}, {560, 24, 800, 1010}},
        {{10, 10, 800, 600}, {1920, 0, 1280, 1024}, {1924, 24, 800, 600}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(fittedClientRect(row.requested, frame, row.available), row.client)
            << row.requested.x() << "," << row.requested.y() << " in " << row.available.width();
    }
}
TEST(ProcessEntry, CancelledLoginEndsWithoutAMessage) {
    ProgramEnvironment environment;
    LoginAnswerer login("", "");
    login.cancel = true;
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(login.answered(), 1);
    EXPECT_TRUE(environment.messages().texts().empty());
    processDeletions();
    EXPECT_EQ(visibleMainWindow(), nullptr);
}

TEST(ProcessEntry, ScreenSmallerThan800By600IsRefusedBeforeAnyWindow) {
    ProgramEnvironment environment(false);
    for (const ScreenSize small : {ScreenSize{799, 600}, ScreenSize{800, 599}}) {
        environment.messages().clear();
        setScreenSizeOverride(small);
        EXPECT_EQ(WinMain(), 0);
        ASSERT_EQ(environment.messages().requests().size(), 1u);
        EXPECT_EQ(environment.messages().requests()[0].text, text(45));
        EXPECT_EQ(environment.messages().requests()[0].caption, "RIVO-IV");
        EXPECT_TRUE(environment.messages().requests()[0].withoutOwner);
    }
    // Exactly 800 × 600 is enough: the program goes on to the (missing) database.
    environment.messages().clear();
    setScreenSizeOverride(ScreenSize{800, 600});
    EXPECT_EQ(WinMain(), 0);
    setScreenSizeOverride(ScreenSize{});
    EXPECT_EQ(environment.messages().texts(), std::vector<std::string>{missingDatabaseMessage(
                                                  std::filesystem::current_path().string())});
}

TEST(ProcessEntry, SecondInstanceEndsAtOnceWithoutAWord) {
    ProgramEnvironment environment;
    InstanceLock running;
    ASSERT_EQ(running.acquire("RIVO-IV"), InstanceLock::Result::Acquired);
    LoginAnswerer login("psykolog", "demo123");
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(login.answered(), 0);
    EXPECT_TRUE(environment.messages().texts().empty());
}

// The real program, twice: the first waits in its login dialog, the second asks it to come
// forward, says so and ends at once with exit code 0, and leaves the first running.
TEST(ProcessEntry, SecondProgramExitsWhileTheFirstRuns) {
    ProgramEnvironment environment;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert("QT_QPA_PLATFORM", "offscreen");
    variables.insert("XDG_RUNTIME_DIR", QString::fromStdString(environment.dir().path().string()));
    const auto start = [&](QProcess& process) {
        process.setProcessEnvironment(variables);
        process.setWorkingDirectory(QString::fromStdString(environment.dir().path().string()));
        process.start(RIVO_IV_PATH, {});
        return process.waitForStarted(10000);
    };
    QProcess first;
    ASSERT_TRUE(start(first));
    QElapsedTimer waited;
    waited.start();
    while (!holdsFileLock(first.processId()) && first.state() == QProcess::Running &&
           waited.elapsed() < 20000) {
        QTest::qWait(50);
    }
    ASSERT_TRUE(holdsFileLock(first.processId())) << first.readAllStandardError().toStdString();
    const std::filesystem::path socket = showRequestSocketPath("RIVO-IV");
    while (!std::filesystem::exists(socket) && waited.elapsed() < 20000) {
        QTest::qWait(50);
    }

    QProcess second;
    ASSERT_TRUE(start(second));
    QElapsedTimer secondRun;
    secondRun.start();
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_LT(secondRun.elapsed(), 5000);
    EXPECT_EQ(second.readAllStandardError().toStdString(),
              "RIVO-IV körs redan; det öppna fönstret har tagits fram.\n");

    QTest::qWait(200);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    EXPECT_TRUE(first.waitForFinished(10000));
}

} // namespace
