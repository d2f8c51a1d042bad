// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "screen.h"

#include <QStringList>

#include <memory>

class PersonalDataForm;
class ScreenHost;

// The personal-data form, the first step of a new test and the way back from the raw-score form.
// "&Avbryt" (90, Alt+A, Esc) clears the test occasion and returns to the start screen, asking
// first when anything unsaved has been entered; closing the window asks the same way;
// "&Fortsätt" (91, Enter on the window, Alt+F) checks and stores the person and opens the
// raw-score form; Alt+S fills the fields from the remembered entries.
class PersonalDataScreen : public Screen {
  public:
    explicit PersonalDataScreen(ScreenHost& host);
    ~PersonalDataScreen() override;

    void build() override;
    void paint(Dc& dc) override;
    ScreenTexts texts() const override;
    void command(int id) override;
    void teardown() override;
    bool mayClose() override;

    PersonalDataForm* form() const { return form_.get(); }

  private:
    // Esc, "&Avbryt", Alt+A: true when nothing unsaved was entered, or the user agrees to throw
    // the entries away.
    bool mayCancel() const;
    // The fields differ from what the form showed when it was built.
    bool entriesChanged() const;
    // Something typed here or on the raw-score form is not in the database.
    bool hasUnsavedEntries() const;

    ScreenHost& host_;
    QStringList shownTexts_;
    std::unique_ptr<PersonalDataForm> form_;
};
