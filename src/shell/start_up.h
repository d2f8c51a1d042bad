// SPDX-License-Identifier: Apache-2.0
#pragma once

class MainWindow;

// The start-up sequence that runs as the main window is made: shared fonts and buttons, the
// test occasion, the database connection, the login dialog and the start screen. 1 when the
// program may run; 0 when the main window must be destroyed (no connection, login cancelled).
int startUp(MainWindow& window);
