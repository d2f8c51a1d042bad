// SPDX-License-Identifier: Apache-2.0
#pragma once

// The size of the primary screen in pixels. Needs a QGuiApplication.
struct ScreenSize {
    int width = 0;
    int height = 0;
};

ScreenSize screenSize();

// Makes screenSize() return the given size (tests of small screens); a size of 0 × 0 removes it.
void setScreenSizeOverride(ScreenSize size);
