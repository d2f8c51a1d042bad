// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"

// Process-wide state of the application shell that painters and screens read.

// The screen the main window shows (SCREEN_START ...).
int& currentScreen();

// The screen size in pixels, read at start and again at start-up.
int& screenWidth();
int& screenHeight();

// The size of the main window's client area, kept up to date by the main window.
DcSize& mainClientArea();

// The y position that the bottom-right corner picture is placed against. Every screen sets it to
// 600 when it is built; the results screen changes it when it is resized.
int& bottomRef();

// 0 when the raw-score form belongs to a new test, 1 when it edits the shown results.
int& rawScoreMode();

// True while the test occasion holds entries that are not in the database: from the moment the
// personal-data form of a new test is continued, or entries changed on a form are carried to the
// next one, until the occasion is saved or thrown away.
bool& occasionUnsaved();

// Whether the database holds the synthetic demonstration norms (the start screen then says so).
// True until the stored flag has been read and says that the norms were imported.
bool& syntheticNorms();
