// SPDX-License-Identifier: Apache-2.0
#include "program.h"

#include "bitmap_resources.h"
#include "command_line.h"
#include "earlier_tests_screen.h"
#include "first_start.h"
#include "instance_lock.h"
#include "main_window.h"
#include "message_box.h"
#include "personal_data_screen.h"
#include "print_report_hook.h"
#include "print_report_job.h"
#include "qt_dialogs.h"
#include "raw_score_screen.h"
#include "results_screen.h"
#include "running_instance.h"
#include "screen_accessible.h"
#include "screen_size.h"
#include "shell_state.h"
#include "start_screen.h"
#include "start_up.h"
#include "swedish_translations.h"
#include "text_table.h"

#include <QApplication>
#include <QPointer>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

constexpr const char* kShownRunningText =
    "RIVO-IV körs redan; det öppna fönstret har tagits fram.\n";
constexpr const char* kRunningText = "RIVO-IV körs redan.\n";

} // namespace

void registerScreens(MainWindow& window) {
    window.setScreen(SCREEN_START, std::make_unique<StartScreen>(window));
    window.setScreen(SCREEN_EARLIER_TESTS, std::make_unique<EarlierTestsScreen>(window));
    window.setScreen(SCREEN_RESULTS, std::make_unique<ResultsScreen>(window));
    window.setScreen(SCREEN_PERSONAL_DATA, std::make_unique<PersonalDataScreen>(window));
    window.setScreen(SCREEN_RAW_SCORES, std::make_unique<RawScoreScreen>(window));
    // "&Skriv ut" on the results screen runs the print job.
    setPrintReportHandler(printReportJob);
}

int WinMain() {
    const ScreenSize screen = screenSize();
    screenWidth() = screen.width;
    screenHeight() = screen.height;

    InstanceLock lock; // held until the process ends
    if (lock.acquire(kProgramCaption) == InstanceLock::Result::HeldElsewhere) {
        std::fputs(askRunningInstanceToShow(kProgramCaption) ? kShownRunningText : kRunningText,
                   stderr);
        return 0;
    }
    // A later start brings this one forward, from the login on.
    QPointer<MainWindow> window;
    ShowRequestListener showRequests(kProgramCaption, [&window] {
        if (window) {
            bringToFront(*window);
        }
    });
    if (screen.width < 800 || screen.height < 600) {
        MessageRequest request;
        request.text = text(45);
        request.caption = kProgramCaption;
        request.withoutOwner = true;
        showMessageBox(request);
        return 0;
    }

    window = new MainWindow;
    registerScreens(*window);
    if (startUp(*window) == 0) {
        delete window.data();
        return 0;
    }
    window->loadAccelerators();
    window->show();
    window->activateWindow();
    window->setFocus();
    QApplication::exec();
    delete window.data();
    return 0;
}

int runProgram(int argc, char** argv) {
    if (const int exitCode = answerInformationOptions(argc, argv); exitCode >= 0) {
        return exitCode;
    }
    QApplication application(argc, argv);
    if (const int exitCode = refuseUnknownOptions(argc, argv); exitCode >= 0) {
        return exitCode;
    }
    // Qt takes the C library's locale from the environment; numbers are written with a point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    // Ties the windows to the menu entry (its name and icon in the desktop's task list).
    QGuiApplication::setDesktopFileName("se.rivoiv.RIVO_IV");
    initBitmapResources();
    installSwedishTranslations();
    installQtDialogHandlers();
    installScreenAccessibility();
    if (hasOption(argc, argv, kDataFolderOption) && !enterDataFolder()) {
        return 0;
    }
    return WinMain();
}
