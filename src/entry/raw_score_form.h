// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "raw_score_validation.h"

#include <array>
#include <functional>

class FieldKeyboard;
class QFont;
class QLineEdit;
class QWidget;

// The 22 raw-score fields with their keyboard: Tab and Enter go round the fields; Enter in the
// last field (without Shift) calls onEnterInLastField instead.
class RawScoreForm {
  public:
    RawScoreForm(QWidget* parent, const QFont& font);
    // Removes the fields (deleted once the event that tore the form down has been handled).
    ~RawScoreForm();
    RawScoreForm(const RawScoreForm&) = delete;
    RawScoreForm& operator=(const RawScoreForm&) = delete;

    void show();
    QLineEdit* field(int id) const { return fields_[static_cast<std::size_t>(id)]; }
    void focusField(int id);

    void fill(const RawScoreTexts& texts);
    RawScoreTexts texts() const;

    std::function<void()> onEnterInLastField;

  private:
    std::array<QLineEdit*, kRawScoreFieldCount> fields_{};
    FieldKeyboard* keyboard_ = nullptr;
};
