// SPDX-License-Identifier: Apache-2.0
#include "entry_field.h"

#include "field_border.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// Turns every letter into its capital as it is typed or pasted.
class UpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

QLineEdit* makeEntryField(QWidget* parent, const QFont& font, const EntryFieldSpec& spec) {
    auto* field = new QLineEdit(parent);
    field->hide();
    field->setObjectName(spec.objectName);
    field->setGeometry(spec.geometry);
    field->setFont(font);
    // A longest input limits typing only; what the program shows in a read-only field, such as a
    // test age of "2024.3.15" for an unset date of birth, is shown whole.
    if (!spec.readOnly) {
        field->setMaxLength(spec.maxLength);
    }
    field->setAccessibleName(spec.accessibleName);
    field->setAccessibleDescription(spec.accessibleDescription);
    if (spec.centred) {
        field->setAlignment(Qt::AlignCenter);
    }
    if (spec.upperCase) {
        field->setValidator(new UpperCaseValidator(field));
    }
    if (spec.readOnly) {
        field->setReadOnly(true);
        QPalette greyed = field->palette();
        greyed.setColor(QPalette::Base, greyed.color(QPalette::Window));
        field->setPalette(greyed);
    }
    setFieldBorder(*field);
    return field;
}
