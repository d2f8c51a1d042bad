// SPDX-License-Identifier: Apache-2.0
#include "personal_data_form.h"

#include "clock.h"
#include "entry_field.h"
#include "field_keyboard.h"
#include "message_box.h"
#include "personal_data_settings.h"
#include "screen_ids.h"
#include "stavro.h"
#include "test_age.h"
#include "text_table.h"

#include <QLineEdit>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kReadLimit = 255;
constexpr int kDateLength = 8;
constexpr int kEarliestTestYear = 1991;
constexpr int kEarliestBirthYear = 1851;
constexpr int kYoungestAge = 16;
constexpr int kOldestAge = 90;

QString qtext(unsigned short id) {
    return QString::fromStdString(text(id));
}

// The integer of count characters of a text from start, read as atoi reads it.
int numberAt(const std::string& text, std::size_t start, std::size_t count) {
    if (start >= text.size()) {
        return 0;
    }
    return std::atoi(text.substr(start, count).c_str());
}

DateValue dateOf(const std::string& text) {
    return DateValue{static_cast<std::int16_t>(numberAt(text, 0, 4)),
                     static_cast<std::uint16_t>(numberAt(text, 4, 2)),
                     static_cast<std::uint16_t>(numberAt(text, 6, 2))};
}

QString formatDate(const DateValue& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year, date.month, date.day);
    return QString::fromLatin1(buffer);
}

QString formatAge(const PersonRecord& person) {
    const TestAge age = computeTestAge(person);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d.%d.%d", age.years, age.months, age.days);
    return QString::fromLatin1(buffer);
}

// Copies a field's text into a record buffer, cut at a whole character.
void copyText(char* destination, std::size_t capacity, const QString& value) {
    QString cut = value;
    QByteArray bytes = cut.toUtf8();
    while (static_cast<std::size_t>(bytes.size()) >= capacity) {
        cut.chop(1);
        bytes = cut.toUtf8();
    }
    std::memcpy(destination, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    destination[bytes.size()] = '\0';
}

template <std::size_t N> void copyText(char (&destination)[N], const QString& value) {
    copyText(destination, N, value);
}

void remember(int id, const QString& value) {
    writePersonalDataSetting(kPersonalDataFields[id].settingsKey, value);
}

EntryFieldSpec specOf(int id) {
    const PersonalDataFieldInfo& info = kPersonalDataFields[id];
    EntryFieldSpec spec;
    spec.objectName = QLatin1String(info.objectName);
    spec.geometry = QRect(info.x, info.y, info.width, kPersonalDataFieldHeight);
    spec.maxLength = info.maxLength;
    spec.readOnly = id == PD_TESTALDER;
    spec.upperCase = info.upperCase;
    spec.accessibleName = qtext(info.label);
    QStringList description;
    if (info.hint != 0) {
        description << qtext(info.hint).trimmed();
    }
    if (info.required) {
        description << QStringLiteral("obligatorisk");
    }
    spec.accessibleDescription = description.join(QStringLiteral(", "));
    return spec;
}

} // namespace

PersonalDataForm::PersonalDataForm(QWidget* parent, const QFont& font) {
    std::vector<QLineEdit*> order;
    for (int id = 0; id < kPersonalDataFieldCount; ++id) {
        fields_[static_cast<std::size_t>(id)] = makeEntryField(parent, font, specOf(id));
        order.push_back(field(id));
    }
    keyboard_ = new FieldKeyboard(SCREEN_PERSONAL_DATA, order);
    // The read-only test age is passed over.
    keyboard_->next = [](int id) {
        return id == PD_FODELSEDATUM ? PD_KON : (id + 1) % kPersonalDataFieldCount;
    };
    keyboard_->previous = [](int id) {
        return id == PD_KON ? PD_FODELSEDATUM
                            : (id + kPersonalDataFieldCount - 1) % kPersonalDataFieldCount;
    };
    keyboard_->selectOnClickWhenFull(PD_TESTDATUM);
    keyboard_->selectOnClickWhenFull(PD_FODELSEDATUM);
    keyboard_->onFocusLost = [this](int id) {
        if (id == PD_TESTDATUM || id == PD_FODELSEDATUM) {
            dateFieldLeft(testOccasion().person);
        }
    };
}

PersonalDataForm::~PersonalDataForm() {
    keyboard_->retire();
}

void PersonalDataForm::show() {
    keyboard_->showFields();
}

void PersonalDataForm::focusField(int id) {
    keyboard_->focusField(id);
}

QString PersonalDataForm::textOf(int id) const {
    return field(id)->text().left(kReadLimit);
}

void PersonalDataForm::fill(const PersonRecord& person) {
    const char* texts[] = {person.NAMN,         person.ADRESS,       person.TELEFON,
                           person.NATIONALITET, person.HOMELANGUAGE, person.UTBILDNING,
                           person.TESTAD_VID,   person.TESTLEDARE,   person.OTHER};
    for (int id = PD_NAMN; id <= PD_OVRIGT; ++id) {
        field(id)->setText(QString::fromUtf8(texts[id]));
    }
    field(PD_TESTDATUM)->setText(formatDate(person.TESTDATE));
    field(PD_FODELSEDATUM)->setText(formatDate(person.BORNDATE));
    showAge(person);
    field(PD_KON)->setText(person.SEX == 1   ? QStringLiteral("M")
                           : person.SEX == 2 ? QStringLiteral("K")
                                             : QString());
    const char* const handedness[] = {"", "V", "H", "A", "O"};
    field(PD_HANTHET)
        ->setText(person.HANDEDNESS >= 1 && person.HANDEDNESS <= 4
                      ? QLatin1String(handedness[person.HANDEDNESS])
                      : QString());
}

// An age too long for the narrow field shows its beginning.
void PersonalDataForm::showAge(const PersonRecord& person) {
    field(PD_TESTALDER)->setText(formatAge(person));
    field(PD_TESTALDER)->setCursorPosition(0);
}

void PersonalDataForm::dateFieldLeft(PersonRecord& person) {
    const std::string testDate = field(PD_TESTDATUM)->text().left(kDateLength).toStdString();
    const std::string birthDate = field(PD_FODELSEDATUM)->text().left(kDateLength).toStdString();
    if (!testDate.empty()) {
        person.TESTDATE = dateOf(testDate);
    }
    if (!birthDate.empty()) {
        person.BORNDATE = dateOf(birthDate);
    }
    if (testDate.size() == birthDate.size()) {
        showAge(person);
    }
}

void PersonalDataForm::tell(unsigned short textId, int focusId) {
    tellText(text(textId), focusId);
}

void PersonalDataForm::tellText(const std::string& message, int focusId) {
    MessageRequest request;
    request.text = message;
    request.caption = kProgramCaption;
    request.icon = MessageIcon::Warning;
    showMessageBox(request);
    focusField(focusId);
}

bool PersonalDataForm::storeDate(int id, unsigned short emptyText, unsigned short invalidText,
                                 int earliestYear, DateValue& date) {
    const QString entry = textOf(id);
    if (entry.isEmpty()) {
        tell(emptyText, id);
        return false;
    }
    const std::string digits = entry.toStdString();
    if (DoCheckIntDate(std::atoi(digits.c_str())) == 0 || numberAt(digits, 0, 4) < earliestYear) {
        tell(invalidText, id);
        return false;
    }
    date = dateOf(digits);
    remember(id, entry);
    return true;
}

namespace {

bool later(const DateValue& a, const DateValue& b) {
    if (a.year != b.year) {
        return a.year > b.year;
    }
    if (a.month != b.month) {
        return a.month > b.month;
    }
    return a.day > b.day;
}

} // namespace

bool PersonalDataForm::datesPossible(const PersonRecord& person) {
    if (later(person.BORNDATE, person.TESTDATE)) {
        tellText(kBirthAfterTestText, PD_FODELSEDATUM);
        return false;
    }
    return true;
}

bool PersonalDataForm::futureTestDateConfirmed(const PersonRecord& person) {
    if (!later(person.TESTDATE, today())) {
        return true;
    }
    MessageRequest request;
    request.text = kFutureTestDateQuestion;
    request.caption = kProgramCaption;
    request.buttons = MessageButtons::YesNo;
    request.defaultButton = MessageDefault::Second;
    request.icon = MessageIcon::Question;
    if (showMessageBox(request) == AnswerYes) {
        return true;
    }
    focusField(PD_TESTDATUM);
    return false;
}

bool PersonalDataForm::ageConfirmed(const PersonRecord& person) {
    const int years = computeTestAge(person).years;
    if (years >= kYoungestAge && years <= kOldestAge) {
        return true;
    }
    MessageRequest request;
    request.text = text(years < kYoungestAge ? 650 : 651);
    request.caption = kProgramCaption;
    request.buttons = MessageButtons::YesNo;
    request.defaultButton = MessageDefault::Second;
    request.icon = MessageIcon::Error;
    if (showMessageBox(request) == AnswerYes) {
        return true;
    }
    focusField(PD_FODELSEDATUM);
    return false;
}

int PersonalDataForm::store(PersonRecord& person) {
    const QString name = textOf(PD_NAMN);
    if (name.isEmpty()) {
        tell(97, PD_NAMN);
        return 0;
    }
    copyText(person.NAMN, name);
    remember(PD_NAMN, name);

    char* optional[] = {person.ADRESS,       person.TELEFON,    person.NATIONALITET,
                        person.HOMELANGUAGE, person.UTBILDNING, person.TESTAD_VID};
    for (int id = PD_ADRESS; id <= PD_TESTAD_VID; ++id) {
        const QString value = textOf(id);
        copyText(optional[id - PD_ADRESS], kText50, value);
        remember(id, value);
    }

    const QString leader = textOf(PD_TESTLEDARE);
    if (leader.isEmpty()) {
        tell(98, PD_TESTLEDARE);
        return 0;
    }
    copyText(person.TESTLEDARE, leader);
    remember(PD_TESTLEDARE, leader);

    const QString other = textOf(PD_OVRIGT);
    copyText(person.OTHER, other);
    remember(PD_OVRIGT, other);

    if (!storeDate(PD_TESTDATUM, 100, 99, kEarliestTestYear, person.TESTDATE) ||
        !storeDate(PD_FODELSEDATUM, 102, 101, kEarliestBirthYear, person.BORNDATE) ||
        !datesPossible(person)) {
        return 0;
    }

    const QString sex = textOf(PD_KON);
    if (sex != QLatin1String("K") && sex != QLatin1String("M")) {
        tell(103, PD_KON);
        return 0;
    }
    person.SEX = sex == QLatin1String("K") ? 2 : 1;
    remember(PD_KON, sex);

    const QString handedness = textOf(PD_HANTHET);
    if (handedness.isEmpty()) {
        person.HANDEDNESS = 0;
    } else {
        const int code = QStringLiteral("VHAO").indexOf(handedness);
        if (handedness.size() == 1 && code >= 0) {
            person.HANDEDNESS = code + 1;
        }
        remember(PD_HANTHET, handedness);
    }

    return futureTestDateConfirmed(person) && ageConfirmed(person) ? 1 : 0;
}

void PersonalDataForm::loadSettings() {
    for (int id = 0; id < kPersonalDataFieldCount; ++id) {
        const char* key = kPersonalDataFields[id].settingsKey;
        if (key == nullptr) {
            continue;
        }
        const bool emptyDefault = id == PD_ADRESS || id == PD_TELEFON;
        field(id)->setText(
            readPersonalDataSetting(key, emptyDefault ? QString() : QStringLiteral("?")));
    }
}

QStringList PersonalDataForm::texts() const {
    QStringList all;
    for (const QLineEdit* field : fields_) {
        all << field->text();
    }
    return all;
}
