// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QClipboard>

class QKeyEvent;
class QLineEdit;

// The standard editing keys that every entry field takes whatever its key filter says: select
// all, copy, cut, paste, undo and redo (Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z and the others
// the platform names). Shift with the arrows and Home/End are navigation keys and pass anyway.
bool isEditingShortcut(const QKeyEvent& event);

// Pastes the clipboard (or the mouse selection) into a field by the field's own rules: every
// character the field refuses (characterAccepted for screen and field) is dropped with one beep;
// a paste that would not fit into the field's longest input is refused whole with the beep.
// Returns whether anything was inserted.
bool pasteIntoField(QLineEdit& field, int screen, int fieldId,
                    QClipboard::Mode mode = QClipboard::Clipboard);
