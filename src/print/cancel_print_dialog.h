// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDialog>

#include <functional>

// The small modeless dialog shown while the report prints: the program title in control 10 and
// one button that cancels the job. Esc cancels as well; the title bar has no close button. A
// cancel calls onCancel once and the dialog then destroys itself.
//
// Object names: "printCancelDialog", "titleText_10", "cancelButton_2".
class CancelPrintDialog : public QDialog {
  public:
    static constexpr int kTitleControl = 10;
    static constexpr int kCancelControl = 2;

    CancelPrintDialog(QWidget* owner, std::function<void()> onCancel);

  protected:
    void reject() override;

  private:
    std::function<void()> onCancel_;
};
