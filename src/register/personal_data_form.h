// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "personal_data_fields.h"
#include "test_occasion.h"

#include <QString>
#include <QStringList>

#include <array>
#include <string>

class FieldKeyboard;
class QFont;
class QLineEdit;
class QWidget;

// The fourteen fields of the personal-data form with their keyboard: what the form shows, how it
// is checked and stored into the person, and the remembered entries.
inline constexpr const char* kBirthAfterTestText =
    "Födelsedatumet ligger efter testdatumet. Ändra till ett giltigt datum!";
inline constexpr const char* kFutureTestDateQuestion =
    "Testdatumet ligger efter dagens datum. Fortsätta?";

class PersonalDataForm {
  public:
    // Creates the fields, hidden, as children of parent.
    PersonalDataForm(QWidget* parent, const QFont& font);
    // Removes the fields (deleted once the event that tore the form down has been handled).
    ~PersonalDataForm();
    PersonalDataForm(const PersonalDataForm&) = delete;
    PersonalDataForm& operator=(const PersonalDataForm&) = delete;

    void show();
    QLineEdit* field(int id) const { return fields_[static_cast<std::size_t>(id)]; }
    void focusField(int id);
    // The text of every field, in field order.
    QStringList texts() const;

    // Shows the person: texts, dates as yyyymmdd, the test age, sex and handedness letters.
    void fill(const PersonRecord& person);

    // Checks the fields in form order and stores each into person, remembering it in the settings
    // file as it passes. 1 when every check passed; 0 when a message has been shown and the focus
    // put on the field concerned (the fields stored before it stay stored).
    int store(PersonRecord& person);

    // Fills the fields from the settings file: "?" for a missing key, but an empty address and
    // telephone. The person is not changed until the user continues.
    void loadSettings();

  private:
    // A date field lost the focus: both dates are taken into person as typed and, when the two
    // texts are equally long, the test age is shown.
    void dateFieldLeft(PersonRecord& person);
    void showAge(const PersonRecord& person);
    QString textOf(int id) const;
    void tell(unsigned short textId, int focusId);
    void tellText(const std::string& message, int focusId);
    // A date of birth after the test date is refused (message, focus on "Födelsedatum").
    bool datesPossible(const PersonRecord& person);
    // A test date after today is kept only when the user says so (No is the default).
    bool futureTestDateConfirmed(const PersonRecord& person);
    bool storeDate(int id, unsigned short emptyText, unsigned short invalidText, int earliestYear,
                   DateValue& date);
    bool ageConfirmed(const PersonRecord& person);

    std::array<QLineEdit*, kPersonalDataFieldCount> fields_{};
    FieldKeyboard* keyboard_ = nullptr;
};
