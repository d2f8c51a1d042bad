// SPDX-License-Identifier: Apache-2.0
#include "field_keyboard.h"

#include "field_paste.h"
#include "key_filter.h"
#include "reject_key.h"
#include "virtual_key.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

FieldKeyboard::FieldKeyboard(int screen, std::vector<QLineEdit*> fields, QObject* parent)
    : QObject(parent), screen_(screen), fields_(std::move(fields)) {
    next = [this](int field) { return (field + 1) % count(); };
    previous = [this](int field) { return (field + count() - 1) % count(); };
    for (QLineEdit* edit : fields_) {
        edit->installEventFilter(this);
        // Dropped text would pass by the field's rules; pasting goes through them.
        edit->setAcceptDrops(false);
    }
}

void FieldKeyboard::selectOnClickWhenFull(int index) {
    selectOnClick_.push_back(index);
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
    case QEvent::ContextMenu:
        contextMenu(index, *static_cast<QContextMenuEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        return mouseRelease(index, *static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}

bool FieldKeyboard::keyPress(int index, QKeyEvent& event) {
    if (event.matches(QKeySequence::Paste)) {
        pasteIntoField(*field(index), screen_, index);
        return true;
    }
    if (isEditingShortcut(event)) {
        return false; // the field's own select all, copy, cut, undo and redo
    }
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

// The field's own menu, whose paste goes through the field's rules like Ctrl+V.
void FieldKeyboard::contextMenu(int index, QContextMenuEvent& event) {
    QPointer<QLineEdit> edit = field(index);
    QMenu* menu = edit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        paste->disconnect();
        const int screen = screen_;
        connect(paste, &QAction::triggered, edit, [edit, screen, index] {
            if (edit) {
                pasteIntoField(*edit, screen, index);
            }
        });
    }
    menu->popup(event.globalPos());
}

bool FieldKeyboard::mouseRelease(int index, QMouseEvent& event) {
    QLineEdit* edit = field(index);
    if (event.button() == Qt::MiddleButton) {
        // The mouse selection pasted with the middle button, by the field's rules.
        if (QGuiApplication::clipboard()->supportsSelection()) {
            pasteIntoField(*edit, screen_, index, QClipboard::Selection);
        }
        return true;
    }
    if (event.button() != Qt::LeftButton ||
        std::find(selectOnClick_.begin(), selectOnClick_.end(), index) == selectOnClick_.end()) {
        return false;
    }
    edit->event(&event);
    // A full field takes no more characters: a click that selected nothing selects it all, so
    // that what is typed next replaces it.
    if (!edit->hasSelectedText() && edit->text().size() >= edit->maxLength()) {
        edit->selectAll();
    }
    return true;
}
