// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The login dialog: a user name and password that must match a row of SEC, and the change of a
// user's password. Every control carries its control id in its object name ("okButton_1",
// "userNameEdit_1002", ...). The dialog ends with 1 when a user logged in, 0 when cancelled.
// Names and passwords with control characters are refused; after three failed attempts for a
// name, the next one waits (login_backoff.h) and the dialog says how long.
class LoginDialog : public QDialog {
    Q_OBJECT

  public:
    // Control ids.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kChangePassword = 1016;
    static constexpr int kUserName = 1002;
    static constexpr int kPassword = 1003;
    static constexpr int kNewPassword = 1004;
    static constexpr int kConfirmPassword = 1005;
    static constexpr int kPrompt = 1009;
    static constexpr int kUserNameLabel = 1010;
    static constexpr int kPasswordLabel = 1011;
    static constexpr int kNewPasswordLabel = 1017;
    static constexpr int kConfirmPasswordLabel = 1018;

    // Each field takes at most this many characters, and all of them are read.
    static constexpr int kFieldLimit = 10;

    LoginDialog(QWidget* owner, const QFont& controlFont);

    // 1 = log in, 2 = change password.
    int loginMode() const { return loginMode_; }

    void reject() override; // Cancel, Esc and the close box

  private:
    void onOk();
    void onChangePassword();
    void showLoginLayout();
    void retypePassword();
    void changePassword(const QString& userName);
    void tell(unsigned short textId);
    void tellText(const std::string& message);
    // Says so and focuses the field when the value holds control characters or is no UTF-8.
    bool refusedCharacters(const std::string& value, const char* what, QLineEdit* field);
    void place();

    QLineEdit* userName_;
    QLineEdit* password_;
    QLineEdit* newPassword_;
    QLineEdit* confirmPassword_;
    QLabel* newPasswordLabel_;
    QLabel* confirmPasswordLabel_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* change_;
    int loginMode_ = 1;
};

// Runs the login dialog modally and returns 1 when a user logged in, 0 otherwise. A user name
// given (the one just chosen for a new database) stands filled in, with the focus on the
// password.
int runLoginDialog(QWidget* owner, const QFont& controlFont, const std::string& userName = {});
