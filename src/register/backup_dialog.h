// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "secret_buffer.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QFont;
class QLabel;
class QLineEdit;

// What the "Säkerhetskopia" button is to write: a plain copy, or one encrypted with a passphrase
// given twice (at least kShortestPassphrase characters), as rivo-admin backup --encrypt asks.
struct BackupChoice {
    bool encrypt = false;
    SecretBuffer passphrase; // only when encrypt
};

// The dialog that asks it. Its passphrase fields are emptied as soon as the passphrase is taken,
// and on every other way out.
class BackupDialog : public QDialog {
    Q_OBJECT

  public:
    BackupDialog(QWidget* owner, const QFont& controlFont);
    ~BackupDialog() override;

    // The choice once the dialog ended with Accepted.
    BackupChoice takeChoice() { return std::move(choice_); }

  private:
    void onOk();
    void onEncryptToggled(bool on);
    void clearPassphrases();

    QCheckBox* encrypt_ = nullptr;
    QLabel* passphraseLabel_ = nullptr;
    QLabel* againLabel_ = nullptr;
    QLineEdit* passphrase_ = nullptr;
    QLineEdit* again_ = nullptr;
    QLabel* hint_ = nullptr;
    BackupChoice choice_;
};

// Shows the dialog; nothing when it was cancelled. Tests may answer in its place.
using BackupChoiceHandler = std::function<std::optional<BackupChoice>(QWidget* owner)>;
std::optional<BackupChoice> askBackupChoice(QWidget* owner, const QFont& controlFont);
// Replaces the dialog (an empty handler restores it); returns the previous handler.
BackupChoiceHandler setBackupChoiceHandler(BackupChoiceHandler handler);
