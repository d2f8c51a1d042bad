// SPDX-License-Identifier: Apache-2.0
#include "program_driver.h"

#include "demo_database.h"
#include "login_dialog.h"
#include "main_window.h"
#include "shell_state.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

LoginAnswerer::LoginAnswerer(QString user, QString password)
    : user_(std::move(user)), password_(std::move(password)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        ++answered_;
        if (onShown) {
            onShown(*dialog);
            onShown = nullptr;
        }
        if (cancel) {
            QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton_2"), Qt::LeftButton);
            return;
        }
        auto* userField = dialog->findChild<QLineEdit*>("userNameEdit_1002");
        auto* passwordField = dialog->findChild<QLineEdit*>("passwordEdit_1003");
        userField->clear();
        passwordField->clear();
        QTest::keyClicks(userField, user_);
        QTest::keyClicks(passwordField, password_);
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton_1"), Qt::LeftButton);
    });
    timer_.start();
}

StartScreenWatcher::StartScreenWatcher(std::function<void(MainWindow&)> action)
    : action_(std::move(action)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        MainWindow* window = visibleMainWindow();
        if (ran_ || window == nullptr || currentScreen() != SCREEN_START ||
            QApplication::activeModalWidget() != nullptr) {
            return;
        }
        ran_ = true;
        timer_.stop();
        action_(*window);
    });
    timer_.start();
}

namespace {

TempDir& databaseDirectory(TempDir& dir, bool withDatabase) {
    if (withDatabase) {
        std::string error;
        const bool made =
            createDemoDatabase((dir.path() / "DODODA.db").string(), "psykolog", "demo123", error);
        EXPECT_TRUE(made) << error;
    }
    return dir;
}

} // namespace

ProgramEnvironment::ProgramEnvironment(bool withDatabase)
    : workingDirectory_(databaseDirectory(dir_, withDatabase).path()),
      runtime_("XDG_RUNTIME_DIR", dir_.path().string()) {}

MainWindow* visibleMainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<MainWindow*>(widget);
        if (window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

void processDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void saveScreenshot(QWidget& widget, const char* fileName) {
    const QDir folder(RIVO_SCREENSHOT_DIR);
    folder.mkpath(".");
    EXPECT_TRUE(widget.grab().save(folder.filePath(fileName), "PNG")) << fileName;
}
