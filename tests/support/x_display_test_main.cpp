// SPDX-License-Identifier: Apache-2.0
#include "bitmap_resources.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

// main() of the tests that need a real X display with a window manager (run-on-x-display starts
// one): the window system's own keyboard, clipboard, focus and window closing are under test.
int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        std::fputs("These tests need an X display: run them through run-on-x-display.\n", stderr);
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    initBitmapResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
