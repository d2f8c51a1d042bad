// SPDX-License-Identifier: Apache-2.0
#pragma once

class QWidget;

// Installs the real dialogs behind the platform seams: message boxes become modal QMessageBoxes
// and the save-file question a QFileDialog. A request without an owner of its own is owned by
// the window given to setMainWindowForDialogs (the program's main window).
void installQtDialogHandlers();

void setMainWindowForDialogs(QWidget* mainWindow);
QWidget* mainWindowForDialogs();
