// SPDX-License-Identifier: Apache-2.0
#pragma once

// The process entry: refuses a second instance and a screen smaller than 800 × 600, creates the
// main window (which runs the start-up sequence) and runs the event loop until the main window
// is destroyed. Needs a QApplication. Returns 0 in every case.
int WinMain();

// Registers the screens of the program with the main window and installs the print job behind
// the results screen's "&Skriv ut".
class MainWindow;
void registerScreens(MainWindow& window);

// The whole program: the application object, the dialogs behind the platform seams, WinMain.
int runProgram(int argc, char** argv);
