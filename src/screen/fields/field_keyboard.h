// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QLineEdit;

// The keyboard of one form's entry fields, as an event filter on each of them:
// - a field that gets the focus selects its whole text;
// - Tab and Enter move to the field that next() names, with Shift (or Shift+Tab) to previous();
//   the key is consumed, so the focus never leaves the fields by the keyboard;
// - a key that keyAccepted() refuses for the form's screen and the focused field is consumed
//   with one beep (rejectKey): nothing is inserted and the caret does not move;
// - the standard editing keys (select all, copy, cut, undo, redo) pass in every field, and a
//   paste (Ctrl+V, Shift+Insert, the field's menu, the middle button) goes through the field's
//   rules (field_paste.h); dropping text onto a field is switched off.
// A field's number is its place in the list given to the constructor (its control id).
class FieldKeyboard : public QObject {
    Q_OBJECT

  public:
    FieldKeyboard(int screen, std::vector<QLineEdit*> fields, QObject* parent = nullptr);

    // Where Tab and Enter go from a field; by default the next and previous field in a ring.
    std::function<int(int field)> next;
    std::function<int(int field)> previous;
    // Called when Enter is pressed in a field without Shift; returning true stands for "handled"
    // and the focus does not move.
    std::function<bool(int field)> onEnter;
    // Called after a field has lost the focus.
    std::function<void(int field)> onFocusLost;

    void showFields();
    // Takes the fields off the window at once and deletes them, and this keyboard, once the event
    // being handled is done: a field's own key (Enter in the last raw score) may have torn its
    // form down. No handler runs any more.
    void retire();

    // A left click into this field, when it is full, selects its whole text.
    void selectOnClickWhenFull(int field);

    // Focuses a field and selects its text.
    void focusField(int field);
    int fieldOf(const QObject* widget) const;
    QLineEdit* field(int index) const { return fields_[static_cast<std::size_t>(index)]; }
    int count() const { return static_cast<int>(fields_.size()); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool keyPress(int field, class QKeyEvent& event);
    void contextMenu(int field, class QContextMenuEvent& event);
    bool mouseRelease(int field, class QMouseEvent& event);

    int screen_;
    std::vector<QLineEdit*> fields_;
    std::vector<int> selectOnClick_;
};
