// SPDX-License-Identifier: Apache-2.0
#include "field_keyboard.h"

#include "key_filter.h"
#include "reject_key.h"
#include "virtual_key.h"

#include <QKeyEvent>
#include <QLineEdit>

FieldKeyboard::FieldKeyboard(int screen, std::vector<QLineEdit*> fields, QObject* parent)
    : QObject(parent), screen_(screen), fields_(std::move(fields)) {
    next = [this](int field) { return (field + 1) % count(); };
    previous = [this](int field) { return (field + count() - 1) % count(); };
    for (QLineEdit* edit : fields_) {
        edit->installEventFilter(this);
    }
}

void FieldKeyboard::showFields() {
    for (QLineEdit* edit : fields_) {
        edit->show();
    }
}

void FieldKeyboard::retire() {
    for (QLineEdit* edit : fields_) {
        edit->removeEventFilter(this);
    }
    for (QLineEdit* edit : fields_) {
        edit->hide();
        edit->setParent(nullptr);
        edit->deleteLater();
    }
    fields_.clear();
    deleteLater();
}

void FieldKeyboard::focusField(int index) {
    QLineEdit* edit = field(index);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

int FieldKeyboard::fieldOf(const QObject* widget) const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] == widget) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool FieldKeyboard::eventFilter(QObject* watched, QEvent* event) {
    const int index = fieldOf(watched);
    if (index < 0) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPress(index, *static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        // The field handles the focus first, then the whole text is selected, whatever the
        // reason of the focus.
        field(index)->event(event);
        field(index)->selectAll();
        return true;
    case QEvent::FocusOut:
        field(index)->event(event);
        if (onFocusLost) {
            onFocusLost(index);
        }
        return true;
    default:
        return false;
    }
}

bool FieldKeyboard::keyPress(int index, QKeyEvent& event) {
    const bool altHeld = event.modifiers() & Qt::AltModifier;
    if (!keyAccepted(screen_, index, virtualKeyOf(event), altHeld)) {
        rejectKey();
        return true;
    }
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab && !enter) {
        return false;
    }
    const bool backwards = key == Qt::Key_Backtab || (event.modifiers() & Qt::ShiftModifier);
    if (enter && !backwards && onEnter && onEnter(index)) {
        return true;
    }
    focusField(backwards ? previous(index) : next(index));
    return true;
}
