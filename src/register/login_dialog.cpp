// SPDX-License-Identifier: Apache-2.0
#include "login_dialog.h"

#include "access_log.h"
#include "credential_text.h"
#include "db.h"
#include "login_backoff.h"
#include "message_box.h"
#include "screen_size.h"
#include "text_table.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kMinLength = 3;
constexpr int kDialogWidth = 520;
constexpr int kLoginHeight = 180;
constexpr int kChangeHeight = 270;

QString textOf(unsigned short id) {
    return QString::fromStdString(text(id));
}

template <typename Widget> Widget* control(QWidget* parent, const char* name, int id) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(id));
    return widget;
}

QLineEdit* field(QWidget* parent, const char* name, int id, bool masked) {
    QLineEdit* edit = control<QLineEdit>(parent, name, id);
    edit->setMaxLength(LoginDialog::kFieldLimit);
    if (masked) {
        edit->setEchoMode(QLineEdit::Password);
    }
    return edit;
}

QLabel* label(QWidget* parent, const char* name, int id, unsigned short textId, bool right) {
    QLabel* text = control<QLabel>(parent, name, id);
    text->setText(textOf(textId));
    if (right) {
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return text;
}

QPushButton* button(QWidget* parent, const char* name, int id, const char* caption) {
    QPushButton* push = control<QPushButton>(parent, name, id);
    push->setText(QString::fromUtf8(caption));
    // A focused button answers Enter itself; while the focus is in a field, the default (OK) does.
    push->setAutoDefault(true);
    return push;
}

// The wait in whole seconds, rounded up, so that it is never shown as 0.
std::string waitText(std::int64_t milliseconds) {
    const std::int64_t seconds = (milliseconds + 999) / 1000;
    return "För många felaktiga försök. Vänta " + std::to_string(seconds) +
           (seconds == 1 ? " sekund" : " sekunder") + " innan du försöker igen.";
}

int characters(const QString& text) {
    return static_cast<int>(text.toStdU32String().size());
}

} // namespace

LoginDialog::LoginDialog(QWidget* owner, const QFont& controlFont)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName("loginDialog");
    setWindowTitle(textOf(53) + kProgramCaption);
    // Made in the order a reader meets them, each label just before its field, the buttons last;
    // each label names its field.
    QLabel* prompt = label(this, "promptLabel", kPrompt, 48, false);
    QLabel* userLabel = label(this, "userNameLabel", kUserNameLabel, 49, true);
    userName_ = field(this, "userNameEdit", kUserName, false);
    QLabel* passwordLabel = label(this, "passwordLabel", kPasswordLabel, 50, true);
    password_ = field(this, "passwordEdit", kPassword, true);
    newPasswordLabel_ = label(this, "newPasswordLabel", kNewPasswordLabel, 51, true);
    newPassword_ = field(this, "newPasswordEdit", kNewPassword, true);
    confirmPasswordLabel_ = label(this, "confirmPasswordLabel", kConfirmPasswordLabel, 52, true);
    confirmPassword_ = field(this, "confirmPasswordEdit", kConfirmPassword, true);
    userLabel->setBuddy(userName_);
    passwordLabel->setBuddy(password_);
    newPasswordLabel_->setBuddy(newPassword_);
    confirmPasswordLabel_->setBuddy(confirmPassword_);
    ok_ = button(this, "okButton", kOk, "&OK");
    ok_->setDefault(true);
    cancel_ = button(this, "cancelButton", kCancel, "&Avbryt");
    change_ = button(this, "changePasswordButton", kChangePassword, "&Ändra lösenord");
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setFont(controlFont);
    }

    userName_->setGeometry(170, 65, 200, 23);
    password_->setGeometry(170, 100, 200, 23);
    prompt->setGeometry(63, 33, 300, 25);
    userLabel->setGeometry(13, 68, 150, 25);
    passwordLabel->setGeometry(13, 103, 150, 25);
    newPassword_->setGeometry(170, 165, 200, 23);
    confirmPassword_->setGeometry(170, 200, 200, 23);
    newPasswordLabel_->setGeometry(13, 168, 150, 25);
    confirmPasswordLabel_->setGeometry(13, 203, 150, 25);
    change_->setGeometry(400, 100, 110, 23);
    setTabOrder(userName_, password_);
    setTabOrder(password_, newPassword_);
    setTabOrder(newPassword_, confirmPassword_);
    setTabOrder(confirmPassword_, ok_);
    setTabOrder(ok_, cancel_);
    setTabOrder(cancel_, change_);

    connect(ok_, &QPushButton::clicked, this, &LoginDialog::onOk);
    connect(cancel_, &QPushButton::clicked, this, &LoginDialog::reject);
    connect(change_, &QPushButton::clicked, this, &LoginDialog::onChangePassword);
    showLoginLayout();
}

// The dialog sits a little right of the middle of the screen, as it always has; on a narrow
// screen it is kept inside the screen so that its buttons stay reachable.
void LoginDialog::place() {
    const ScreenSize screen = screenSize();
    const int x = std::max(0, std::min((screen.width - 130) / 2, screen.width - kDialogWidth));
    setFixedSize(kDialogWidth, height());
    move(x, (screen.height - height()) / 2);
}

void LoginDialog::showLoginLayout() {
    loginMode_ = 1;
    newPassword_->hide();
    confirmPassword_->hide();
    newPasswordLabel_->hide();
    confirmPasswordLabel_->hide();
    ok_->setGeometry(400, 23, 110, 23);
    cancel_->setGeometry(400, 55, 110, 23);
    change_->show();
    setFixedHeight(kLoginHeight);
    place();
    userName_->setFocus();
}

void LoginDialog::onChangePassword() {
    loginMode_ = 2;
    newPassword_->show();
    confirmPassword_->show();
    newPasswordLabel_->show();
    confirmPasswordLabel_->show();
    ok_->setGeometry(400, 163, 110, 23);
    cancel_->setGeometry(400, 195, 110, 23);
    change_->hide();
    setFixedHeight(kChangeHeight);
    place();
    userName_->setFocus();
}

void LoginDialog::reject() {
    if (loginMode_ == 2) {
        showLoginLayout();
        return;
    }
    done(0);
}

void LoginDialog::tell(unsigned short textId) {
    tellText(text(textId));
}

bool LoginDialog::refusedCharacters(const std::string& value, const char* what, QLineEdit* field) {
    const CredentialProblem problem = credentialCharacterProblem(value);
    if (problem == CredentialProblem::None) {
        return false;
    }
    tellText(credentialProblemText(problem, what) + " Gör ett nytt försök !");
    field->setFocus();
    return true;
}

void LoginDialog::tellText(const std::string& message) {
    MessageRequest request;
    request.text = message;
    request.caption = kProgramCaption;
    request.owner = this;
    showMessageBox(request);
}

// After a refusal the password is typed anew: what was typed must not stay in front of it.
void LoginDialog::retypePassword() {
    password_->clear();
    password_->setFocus();
}

void LoginDialog::onOk() {
    const QString user = userName_->text();
    const QString password = password_->text();
    if (user.isEmpty() || characters(user) < kMinLength) {
        tell(user.isEmpty() ? 178 : 179);
        userName_->setFocus();
        return;
    }
    if (password.isEmpty() || characters(password) < kMinLength) {
        tell(password.isEmpty() ? 180 : 181);
        retypePassword();
        return;
    }
    const std::string userText = user.toStdString();
    const std::string passwordText = password.toStdString();
    if (refusedCharacters(userText, "Användarnamnet", userName_) ||
        refusedCharacters(passwordText, "Lösenordet", password_)) {
        return;
    }
    // After repeated failures for this name no answer is given until the wait is over.
    if (const std::int64_t wait = loginBackoff().remainingWait(userText); wait > 0) {
        tellText(waitText(wait));
        retypePassword();
        return;
    }
    const DbResult checked = DoReadPassword(userText.c_str(), passwordText.c_str());
    if (!DoLogLoginAttempt(userText, checked, loginMode_ == 1)) {
        return;
    }
    switch (checked) {
    case DB_DONE:
        loginBackoff().recordSuccess(userText);
        break;
    case DB_NO_ROW:
        loginBackoff().recordFailure(userText);
        tell(182);
        password_->clear();
        userName_->setFocus();
        userName_->selectAll();
        return;
    case DB_WRONG_PASSWORD:
        loginBackoff().recordFailure(userText);
        tell(183);
        retypePassword();
        return;
    default:
        return; // the database's message has been shown
    }
    if (loginMode_ == 1) {
        done(1);
        return;
    }
    changePassword(user);
}

void LoginDialog::changePassword(const QString& userName) {
    const QString newPassword = newPassword_->text();
    if (refusedCharacters(newPassword.toStdString(), "Nytt lösenord", newPassword_)) {
        newPassword_->clear();
        confirmPassword_->clear();
        return;
    }
    if (characters(newPassword) < kMinLength || confirmPassword_->text() != newPassword) {
        tell(characters(newPassword) < kMinLength ? 184 : 186);
        newPassword_->clear();
        confirmPassword_->clear();
        newPassword_->setFocus();
        return;
    }
    if (DoUpdatePasswordLogged(newPassword.toStdString().c_str(), userName.toStdString().c_str()) !=
        DB_DONE) {
        return; // the database's message has been shown
    }
    tell(185);
    password_->clear();
    showLoginLayout();
    password_->setFocus();
}

int runLoginDialog(QWidget* owner, const QFont& controlFont, const std::string& userName) {
    LoginDialog dialog(owner, controlFont);
    if (!userName.empty()) {
        dialog.findChild<QLineEdit*>(QStringLiteral("userNameEdit_%1").arg(LoginDialog::kUserName))
            ->setText(QString::fromStdString(userName));
        dialog.findChild<QLineEdit*>(QStringLiteral("passwordEdit_%1").arg(LoginDialog::kPassword))
            ->setFocus();
    }
    return dialog.exec() == 1 ? 1 : 0;
}
