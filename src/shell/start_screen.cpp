// SPDX-License-Identifier: Apache-2.0
#include "start_screen.h"

#include "db.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "screen_paint.h"
#include "shell_state.h"
#include "test_occasion.h"

void showStartScreen(ScreenHost& host) {
    currentScreen() = SCREEN_START;
    bottomRef() = 600;
    host.placeWindow(screenWidth() / 2 - 400, screenHeight() / 2 - 300, 800, 600);
    host.placeSharedButton(91, 58, 320, 110, 40, true);
    host.placeSharedButton(92, 58, 370, 110, 40, true);
    host.placeSharedButton(90, 58, 420, 110, 40, true);
    host.placeSharedButton(93, 70, 430, 110, 40, false);
    host.placeSharedButton(94, 70, 430, 110, 40, false);
    host.setSharedButtonCaption(90, 91);
    host.setSharedButtonCaption(91, 92);
    host.setSharedButtonCaption(92, 93);
    // Read each time, so that norms imported while the program runs are seen on return here.
    syntheticNorms() = DoReadNormsSynthetic();
    host.repaint();
}

void StartScreen::build() {
    showStartScreen(host_);
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
        host_.endProgram();
        break;
    default:
        break;
    }
}

// Until the personal-data form exists in the program, a new test cannot begin.
void StartScreen::beginNewTest() {
    if (!host_.hasScreen(SCREEN_PERSONAL_DATA)) {
        return;
    }
    rawScoreMode() = 0;
    DoReadNameID();
    host_.hideSharedButtons();
    resetTestOccasion();
    occasionUnsaved() = false;
    host_.showScreen(SCREEN_PERSONAL_DATA);
}

void StartScreen::openEarlierTests() {
    if (!host_.hasScreen(SCREEN_EARLIER_TESTS)) {
        return;
    }
    host_.hideSharedButtons();
    host_.showScreen(SCREEN_EARLIER_TESTS);
}
