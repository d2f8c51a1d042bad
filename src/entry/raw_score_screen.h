// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "raw_score_validation.h"
#include "screen.h"

#include <memory>

class RawScoreForm;
class ScreenHost;

// The raw-score form. "&Visa resultat" (91, Enter on the window or in the last field, Alt+V,
// Alt+F) checks the entries, saves the occasion and, only when the save is committed, opens the
// results; a failed save keeps the user here with every entry. "&Tillbaka" (90, Alt+T, Esc) keeps
// the acceptable entries without a message and returns to the personal-data form.
class RawScoreScreen : public Screen {
  public:
    explicit RawScoreScreen(ScreenHost& host);
    ~RawScoreScreen() override;

    void build() override;
    void paint(Dc& dc) override;
    ScreenTexts texts() const override;
    void command(int id) override;
    void teardown() override;
    // Asks before the window closes while entries here or on the personal-data form are unsaved.
    bool mayClose() override;

    RawScoreForm* form() const { return form_.get(); }

  private:
    void showResults();
    void back();
    bool hasUnsavedEntries() const;

    ScreenHost& host_;
    std::unique_ptr<RawScoreForm> form_;
    RawScoreTexts shownTexts_{};
};
