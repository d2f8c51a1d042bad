// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "message_capture.h"
#include "temp_dir.h"
#include "working_directory.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class LoginDialog;
class MainWindow;

// Answers the login dialog whenever it is shown: writes the user name and password into their
// fields and presses OK, as a user would.
class LoginAnswerer {
  public:
    LoginAnswerer(QString user, QString password);
    // Runs once with the dialog before it is answered.
    std::function<void(LoginDialog&)> onShown;
    // Presses "&Avbryt" instead of OK.
    bool cancel = false;
    int answered() const { return answered_; }

  private:
    QTimer timer_;
    QString user_;
    QString password_;
    int answered_ = 0;
};

// Calls action once the main window is shown on the start screen (inside the event loop).
class StartScreenWatcher {
  public:
    explicit StartScreenWatcher(std::function<void(MainWindow&)> action);
    bool ran() const { return ran_; }

  private:
    QTimer timer_;
    std::function<void(MainWindow&)> action_;
    bool ran_ = false;
};

// A working directory of its own with the demonstration database (user "psykolog", password
// "demo123"), its own lock directory, and every message box recorded.
class ProgramEnvironment {
  public:
    explicit ProgramEnvironment(bool withDatabase = true);
    const TempDir& dir() const { return dir_; }
    MessageCapture& messages() { return messages_; }

  private:
    TempDir dir_;
    WorkingDirectory workingDirectory_;
    ScopedEnvironment runtime_;
    MessageCapture messages_;
};

// The main window visible on the top level, or null.
MainWindow* visibleMainWindow();

// Lets the deferred deletion of closed windows happen.
void processDeletions();

// Writes a widget as it looks into the screenshot folder of the build.
void saveScreenshot(class QWidget& widget, const char* fileName);
