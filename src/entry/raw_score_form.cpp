// SPDX-License-Identifier: Apache-2.0
#include "raw_score_form.h"

#include "entry_field.h"
#include "field_keyboard.h"
#include "screen_ids.h"
#include "text_table.h"

#include <QLineEdit>

namespace {

constexpr int kFieldHeight = 25;
constexpr int kReadLimit = 255;

EntryFieldSpec specOf(int id) {
    const RawScoreField& place = kRawScoreFields[id];
    EntryFieldSpec spec;
    spec.objectName = QStringLiteral("rawScoreField%1").arg(id);
    spec.geometry = QRect(place.x, place.y, rawScoreFieldWidth(id), kFieldHeight);
    spec.maxLength = rawScoreFieldLength(id);
    spec.centred = true;
    spec.accessibleName = QString::fromStdString(text(rawScoreFieldName(id)));
    spec.accessibleDescription =
        QStringLiteral("Råpoäng 0 till %1, tomt om deltestet inte gavs").arg(rawScoreFieldMax(id));
    return spec;
}

} // namespace

RawScoreForm::RawScoreForm(QWidget* parent, const QFont& font) {
    std::vector<QLineEdit*> order;
    for (int id = 0; id < kRawScoreFieldCount; ++id) {
        fields_[static_cast<std::size_t>(id)] = makeEntryField(parent, font, specOf(id));
        order.push_back(field(id));
    }
    keyboard_ = new FieldKeyboard(SCREEN_RAW_SCORES, order);
    keyboard_->onEnter = [this](int id) {
        if (id != kRawScoreFieldCount - 1 || !onEnterInLastField) {
            return false;
        }
        // Saving tears the form down: the callback runs from a copy of its own.
        const std::function<void()> enter = onEnterInLastField;
        enter();
        return true;
    };
}

RawScoreForm::~RawScoreForm() {
    keyboard_->retire();
}

void RawScoreForm::show() {
    keyboard_->showFields();
}

void RawScoreForm::focusField(int id) {
    keyboard_->focusField(id);
}

void RawScoreForm::fill(const RawScoreTexts& texts) {
    for (int id = 0; id < kRawScoreFieldCount; ++id) {
        field(id)->setText(QString::fromStdString(texts[static_cast<std::size_t>(id)]));
    }
}

RawScoreTexts RawScoreForm::texts() const {
    RawScoreTexts result;
    for (int id = 0; id < kRawScoreFieldCount; ++id) {
        result[static_cast<std::size_t>(id)] = field(id)->text().left(kReadLimit).toStdString();
    }
    return result;
}
