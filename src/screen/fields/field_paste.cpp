// SPDX-License-Identifier: Apache-2.0
#include "field_paste.h"

#include "key_filter.h"
#include "reject_key.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

bool isEditingShortcut(const QKeyEvent& event) {
    for (const QKeySequence::StandardKey key :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo}) {
        if (event.matches(key)) {
            return true;
        }
    }
    return false;
}

bool pasteIntoField(QLineEdit& field, int screen, int fieldId, QClipboard::Mode mode) {
    if (field.isReadOnly()) {
        return false;
    }
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    QString taken;
    bool dropped = false;
    for (const char32_t character : pasted.toStdU32String()) {
        if (characterAccepted(screen, fieldId, character)) {
            taken += QString::fromUcs4(&character, 1);
        } else {
            dropped = true;
        }
    }
    const qsizetype kept = field.text().size() - field.selectedText().size();
    if (kept + taken.size() > field.maxLength()) {
        rejectKey();
        return false;
    }
    if (dropped) {
        rejectKey();
    }
    if (taken.isEmpty()) {
        return false;
    }
    field.insert(taken);
    return true;
}
