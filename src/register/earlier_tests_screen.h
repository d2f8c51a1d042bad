// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "screen.h"

#include <QPointer>

#include <cstdint>

class QKeyEvent;
class QTreeView;
class ScreenHost;

// The earlier-tests screen: the list of every stored test person, sorted by a clicked column
// (or by Ctrl+1 ... Ctrl+9 on the list), and the commands on it: back, show results, export, delete
// and backup. The list is re-read from the database each time the screen is built and on every
// header click.
class EarlierTestsScreen : public Screen {
  public:
    explicit EarlierTestsScreen(ScreenHost& host) : host_(host) {}
    ~EarlierTestsScreen() override;
    EarlierTestsScreen(const EarlierTestsScreen&) = delete;
    EarlierTestsScreen& operator=(const EarlierTestsScreen&) = delete;

    void build() override; // showEarlierTestsScreen
    void paint(Dc& dc) override;
    ScreenTexts texts() const override;
    void command(int id) override;
    void teardown() override; // teardownEarlierTests
    void resized() override;  // layoutEarlierTests

    // Lays the list and the buttons out for a client area of the given size.
    void layoutEarlierTests(int width, int height);

  private:
    void onHeaderClicked(int column);
    // -1 for none.
    void selectRow(int row);
    // 3 opens the results of the selected person, 5 deletes the selected person.
    void actOnSelection(int mode);
    void showResults(std::int32_t id);
    void deletePerson(std::int32_t id);
    void backupDatabase();
    void exportData();
    void focusList();

    ScreenHost& host_;
    QPointer<QTreeView> list_;
};

// The list column (0-8) that a key sorts by, or -1: Ctrl+1 ... Ctrl+9 on the person list.
int sortColumnOfKey(const QKeyEvent& key);

inline constexpr int kShowResultsMode = 3;
inline constexpr int kDeleteMode = 5;
