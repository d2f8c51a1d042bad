// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "screen.h"

#include <QPointer>

#include <array>
#include <memory>

class FocusRing;
class QComboBox;
class QPushButton;
class ResultsWindow;
class ScreenHost;

// The results screen: the person header, four drop-down lists that choose how the results are
// computed and shown, the ResultsWindow with the report, and the shared buttons
// "&Avbryt" (90), "Ä&ndra råpoäng" (91) and "&Skriv ut" (92), and its own "&Kopiera"
// ("copyReportButton"), which like Ctrl+C copies the report to the clipboard.
//
// List ids and object names: 1 "ageBandList_1" (the subgroup of the norm group),
// 2 "confidenceList_2" (ResultsView::ciLevel), 3 "swBaseList_3" (swBase), 4 "indexBaseList_4"
// (indexBase). A selection change arrives as command(list id).
class ResultsScreen : public Screen {
  public:
    explicit ResultsScreen(ScreenHost& host);
    ~ResultsScreen() override;
    ResultsScreen(const ResultsScreen&) = delete;
    ResultsScreen& operator=(const ResultsScreen&) = delete;

    void build() override;
    void paint(Dc& dc) override;
    ScreenTexts texts() const override;
    void command(int id) override;
    void teardown() override;
    // The size handler: the ResultsWindow and the buttons follow the main window's client size.
    void resized() override;

  private:
    void createControls();
    void fillChoiceLists();
    void fitListWidths();
    void connectLists();
    bool closeOpenList();
    void listChanged(int id);
    bool logAgeBandChoice(QComboBox* list);
    void changeRawScores();
    void createCopyButton();

    ScreenHost& host_;
    QPointer<ResultsWindow> window_;
    std::array<QPointer<QComboBox>, 4> lists_{};
    QPointer<QPushButton> copyButton_;
    std::unique_ptr<FocusRing> focusRing_;
};
