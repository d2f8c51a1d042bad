// SPDX-License-Identifier: Apache-2.0
#include "cancel_print_dialog.h"

#include "message_box.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

CancelPrintDialog::CancelPrintDialog(QWidget* owner, std::function<void()> onCancel)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      onCancel_(std::move(onCancel)) {
    setObjectName("printCancelDialog");
    setWindowTitle(kProgramCaption);
    setModal(false);

    auto* title = new QLabel(kProgramCaption, this);
    title->setObjectName(QStringLiteral("titleText_%1").arg(kTitleControl));
    title->setAlignment(Qt::AlignCenter);
    auto* cancel = new QPushButton("&Avbryt", this);
    cancel->setObjectName(QStringLiteral("cancelButton_%1").arg(kCancelControl));
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &CancelPrintDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(cancel, 0, Qt::AlignCenter);
    setFixedSize(220, 100);
}

// The button, Enter on it and Esc all end here.
void CancelPrintDialog::reject() {
    if (onCancel_) {
        std::exchange(onCancel_, {})();
    }
    hide();
    deleteLater();
}
