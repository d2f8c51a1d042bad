#include "start_screen.h"

#include "db.h"
#include "main_window.h"
#include "screen_paint.h"
#include "shell_state.h"
#include "test_occasion.h"

void showStartScreen(MainWindow& window) {
    currentScreen() = SCREEN_START;
    bottomRef() = 600;
    window.move(screenWidth() / 2 - 400, screenHeight() / 2 - 300);
    window.resize(800, 600);
    window.placeSharedButton(91, 58, 320, 110, 40, true);
    window.placeSharedButton(92, 58, 370, 110, 40, true);
    window.placeSharedButton(90, 58, 420, 110, 40, true);
    window.placeSharedButton(93, 70, 430, 110, 40, false);
    window.placeSharedButton(94, 70, 430, 110, 40, false);
    window.setSharedButtonCaption(90, 91);
    window.setSharedButtonCaption(91, 92);
    window.setSharedButtonCaption(92, 93);
    window.update();
}

void StartScreen::build() {
    showStartScreen(window_);
}

void StartScreen::paint(Dc& dc) {
    ab_paint_start(dc);
}

void StartScreen::command(int id) {
    switch (id) {
    case CMD_ALT_N:
    case 91:
        beginNewTest();
        break;
    case CMD_ALT_T:
    case 92:
        openEarlierTests();
        break;
    case 90:
    case CMD_ALT_A:
    case CMD_ESCAPE:
        window_.destroyWindow();
        break;
    default:
        break;
    }
}

// Until the personal-data form exists in the program, a new test cannot begin.
void StartScreen::beginNewTest() {
    if (window_.screen(SCREEN_PERSONAL_DATA) == nullptr) {
        return;
    }
    rawScoreMode() = 0;
    DoReadNameID();
    hideSharedButtons(window_);
    resetTestOccasion();
    window_.showScreen(SCREEN_PERSONAL_DATA);
}

void StartScreen::openEarlierTests() {
    if (window_.screen(SCREEN_EARLIER_TESTS) == nullptr) {
        return;
    }
    hideSharedButtons(window_);
    window_.showScreen(SCREEN_EARLIER_TESTS);
}
