// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "main_window.h"
#include "program_driver.h"
#include "screen.h"

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <gtest/gtest.h>

#include <string>

// Stands in for the results screen, which is not part of this test program: counts how often the
// save hands over to it.
class ResultsProbe : public Screen {
  public:
    void build() override { ++builds; }
    void paint(Dc&) override {}
    void command(int) override {}
    int builds = 0;
};

// The program logged in on the start screen, with the demonstration database (ID counter 0), a
// settings folder of its own, today fixed at 15 March 2024, and every refused-key beep counted.
class NewTestRoad : public ::testing::Test {
  protected:
    NewTestRoad();
    void SetUp() override;
    void TearDown() override;

    // Enter on the main window: the start screen begins a new test.
    void beginNewTest();
    // A valid person typed into the personal-data form: Anna Berg, born 1 January 1980.
    void typePerson();
    // From the start screen to the raw-score form.
    void openRawScoreForm();

    QLineEdit* field(const char* objectName);
    QLineEdit* rawField(int id);
    QWidget* focused() const;
    // Focuses a field as a click would and types the text with real key events; letters outside
    // ASCII are inserted, since the test keyboard has no keys for them.
    void type(QLineEdit* field, const QString& text);
    // A key pressed where the focus is.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The single message shown since the last clear().
    std::string message();

    // Runs a statement on the program's connection.
    void exec(const char* sql);
    int number(const char* sql);
    std::string settingsFile() const;

    ProgramEnvironment environment_;
    ScopedEnvironment configHome_;
    QPointer<MainWindow> window_;
    ResultsProbe* results_ = nullptr;
    int beeps_ = 0;
};
