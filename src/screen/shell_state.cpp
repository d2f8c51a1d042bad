// SPDX-License-Identifier: Apache-2.0
#include "shell_state.h"

#include "screen_ids.h"

int& currentScreen() {
    static int screen = SCREEN_START;
    return screen;
}

int& screenWidth() {
    static int width = 0;
    return width;
}

int& screenHeight() {
    static int height = 0;
    return height;
}

DcSize& mainClientArea() {
    static DcSize size{800, 600};
    return size;
}

int& bottomRef() {
    static int y = 600;
    return y;
}

int& rawScoreMode() {
    static int mode = 0;
    return mode;
}

bool& occasionUnsaved() {
    static bool unsaved = false;
    return unsaved;
}

bool& syntheticNorms() {
    static bool synthetic = true;
    return synthetic;
}
