// SPDX-License-Identifier: Apache-2.0
#include "backup_dialog.h"

#include "message_box.h"
#include "passphrase_input.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

namespace {

BackupChoiceHandler& choiceHandler() {
    static BackupChoiceHandler handler;
    return handler;
}

// The field's text into a secret buffer of its own; the UTF-8 bytes made on the way are
// overwritten and the field is emptied. (The field's own QString storage is Qt's, freed but not
// overwritten by it: the passphrase lives there only while it is typed.)
SecretBuffer takeSecret(QLineEdit& field) {
    QByteArray bytes = field.text().toUtf8();
    SecretBuffer secret(static_cast<std::size_t>(bytes.size()));
    for (const char c : bytes) {
        secret.push_back(static_cast<unsigned char>(c));
    }
    wipeSecretBytes(bytes.data(), static_cast<std::size_t>(bytes.size()));
    field.clear();
    return secret;
}

} // namespace

BackupDialog::BackupDialog(QWidget* owner, const QFont& controlFont) : QDialog(owner) {
    setObjectName("backupDialog");
    setWindowTitle(QString::fromUtf8(kProgramCaption) + "  Säkerhetskopia");
    setFont(controlFont);

    auto* explanation = new QLabel(
        "Kopian innehåller hela registret. En krypterad kopia kan bara läsas och återställas med "
        "lösenfrasen: förvara den säkert, för utan den går kopian inte att använda.",
        this);
    explanation->setWordWrap(true);
    encrypt_ = new QCheckBox("&Kryptera kopian", this);
    encrypt_->setObjectName("encryptCheck");
    passphraseLabel_ = new QLabel("&Lösenfras:", this);
    againLabel_ = new QLabel("Lösenfrasen &igen:", this);
    passphrase_ = new QLineEdit(this);
    passphrase_->setObjectName("passphraseEdit");
    again_ = new QLineEdit(this);
    again_->setObjectName("passphraseAgainEdit");
    for (QLineEdit* field : {passphrase_, again_}) {
        field->setEchoMode(QLineEdit::Password);
        field->setMaxLength(static_cast<int>(kLongestPassphrase / 4));
        field->setMinimumWidth(260);
    }
    passphraseLabel_->setBuddy(passphrase_);
    againLabel_->setBuddy(again_);
    hint_ = new QLabel(
        "Minst " + QString::number(kShortestPassphrase) + " tecken. Skriv den två gånger.", this);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton("Avbryt", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cancelButton");
    connect(ok, &QPushButton::clicked, this, &BackupDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &BackupDialog::reject);
    connect(encrypt_, &QCheckBox::toggled, this, &BackupDialog::onEncryptToggled);
    connect(this, &QDialog::rejected, this, &BackupDialog::clearPassphrases);

    auto* fields = new QGridLayout;
    fields->addWidget(passphraseLabel_, 0, 0);
    fields->addWidget(passphrase_, 0, 1);
    fields->addWidget(againLabel_, 1, 0);
    fields->addWidget(again_, 1, 1);
    fields->addWidget(hint_, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(encrypt_);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    onEncryptToggled(false);
}

BackupDialog::~BackupDialog() {
    clearPassphrases();
}

void BackupDialog::onEncryptToggled(bool on) {
    for (QWidget* widget : std::initializer_list<QWidget*>{passphraseLabel_, againLabel_,
                                                           passphrase_, again_, hint_}) {
        widget->setEnabled(on);
    }
    if (on) {
        passphrase_->setFocus();
    } else {
        clearPassphrases();
    }
}

void BackupDialog::clearPassphrases() {
    if (passphrase_ != nullptr) {
        takeSecret(*passphrase_);
        takeSecret(*again_);
    }
}

void BackupDialog::onOk() {
    choice_ = BackupChoice{};
    if (!encrypt_->isChecked()) {
        accept();
        return;
    }
    SecretBuffer passphrase = takeSecret(*passphrase_);
    const SecretBuffer again = takeSecret(*again_);
    if (const std::string problem = newPassphraseProblem(passphrase, &again); !problem.empty()) {
        MessageRequest request;
        request.text = problem + " Skriv lösenfrasen två gånger igen.";
        request.caption = kProgramCaption;
        request.owner = this;
        showMessageBox(request);
        passphrase_->setFocus();
        return;
    }
    choice_.encrypt = true;
    choice_.passphrase = std::move(passphrase);
    accept();
}

std::optional<BackupChoice> askBackupChoice(QWidget* owner, const QFont& controlFont) {
    if (choiceHandler()) {
        return choiceHandler()(owner);
    }
    BackupDialog dialog(owner, controlFont);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.takeChoice();
}

BackupChoiceHandler setBackupChoiceHandler(BackupChoiceHandler handler) {
    return std::exchange(choiceHandler(), std::move(handler));
}
