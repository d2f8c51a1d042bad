// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "clock.h"
#include "db.h"
#include "demo_database.h"
#include "login_backoff.h"
#include "login_dialog.h"
#include "login_failures.h"
#include "message_capture.h"
#include "screen_size.h"
#include "statement.h"
#include "temp_dir.h"
#include "text_table.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The login dialog, shown, against a fresh demonstration database with the user "psykolog"
// (password "demo123"); every message box is recorded.
class Login : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = dir_.file(kDatabaseFileName).string();
        std::string error;
        ASSERT_TRUE(createDemoDatabase(path, "psykolog", "demo123", error)) << error;
        ASSERT_EQ(DoConnect("", "", path.c_str()), 1);
        loginBackoff() = LoginBackoff{}; // failures of earlier tests do not count here
        dialog_ = std::make_unique<LoginDialog>(nullptr, QFont("Liberation Sans"));
        dialog_->show();
    }
    void TearDown() override {
        clearFixedUtcMilliseconds();
        dialog_.reset();
        DoDisconnect();
    }

    template <typename Widget> Widget* control(const char* name) {
        auto* widget = dialog_->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }

    void type(const char* field, const QString& text) {
        edit(field)->clear();
        bool ascii = true;
        for (const QChar c : text) {
            ascii = ascii && c.unicode() < 128;
        }
        if (ascii) {
            QTest::keyClicks(edit(field), text);
        } else {
            edit(field)->insert(text); // the test keyboard knows only ASCII keys
        }
    }
    void ok(const QString& user, const QString& password) {
        type("userNameEdit_1002", user);
        type("passwordEdit_1003", password);
        messages_.clear();
        QTest::mouseClick(button("okButton_1"), Qt::LeftButton);
    }
    void changeTo(const QString& newPassword, const QString& confirmation) {
        type("newPasswordEdit_1004", newPassword);
        type("confirmPasswordEdit_1005", confirmation);
        ok("psykolog", "demo123");
    }
    // The one message shown since the last OK, owned by the dialog.
    std::string message() {
        EXPECT_EQ(messages_.requests().size(), 1u);
        if (messages_.requests().empty()) {
            return {};
        }
        EXPECT_EQ(messages_.requests()[0].owner, dialog_.get());
        EXPECT_EQ(messages_.requests()[0].caption, "RIVO-IV");
        EXPECT_EQ(messages_.requests()[0].buttons, MessageButtons::Ok);
        return messages_.requests()[0].text;
    }
    QWidget* focused() { return dialog_->focusWidget(); }
    void saveScreenshot() {
        const QDir folder(RIVO_SCREENSHOT_DIR);
        folder.mkpath(".");
        EXPECT_TRUE(dialog_->grab().save(folder.filePath("login_dialog_change.png"), "PNG"));
    }
    void expectLoginLayout() {
        EXPECT_EQ(dialog_->loginMode(), 1);
        EXPECT_EQ(dialog_->size(), QSize(520, 180));
        EXPECT_FALSE(edit("newPasswordEdit_1004")->isVisible());
        EXPECT_FALSE(edit("confirmPasswordEdit_1005")->isVisible());
        EXPECT_FALSE(control<QLabel>("newPasswordLabel_1017")->isVisible());
        EXPECT_TRUE(button("changePasswordButton_1016")->isVisible());
        EXPECT_EQ(button("okButton_1")->geometry(), QRect(400, 23, 110, 23));
        EXPECT_EQ(button("cancelButton_2")->geometry(), QRect(400, 55, 110, 23));
    }

    TempDir dir_;
    MessageCapture messages_;
    std::unique_ptr<LoginDialog> dialog_;
};

TEST_F(Login, OpensInTheLoginLayoutWithItsTexts) {
    EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("Lösenordskontroll för RIVO-IV"));
    expectLoginLayout();
    EXPECT_TRUE(dialog_->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(control<QLabel>("promptLabel_1009")->text(), QString::fromStdString(text(48)));
    EXPECT_EQ(control<QLabel>("userNameLabel_1010")->text(), QString::fromUtf8("Användarnamn:"));
    EXPECT_TRUE(control<QLabel>("passwordLabel_1011")->alignment() & Qt::AlignRight);
    EXPECT_EQ(edit("userNameEdit_1002")->geometry(), QRect(170, 65, 200, 23));
    EXPECT_EQ(edit("passwordEdit_1003")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(focused(), edit("userNameEdit_1002"));
    const ScreenSize screen = screenSize();
    EXPECT_EQ(dialog_->y(), (screen.height - 180) / 2);
}

TEST_F(Login, UserNameMustBeGivenWithAtLeastThreeCharacters) {
    ok("", "demo123");
    EXPECT_EQ(message(), text(178));
    EXPECT_EQ(focused(), edit("userNameEdit_1002"));
    ok("ps", "demo123");
    EXPECT_EQ(message(), text(179));
    EXPECT_EQ(focused(), edit("userNameEdit_1002"));
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(Login, PasswordMustBeGivenWithAtLeastThreeCharacters) {
    ok("psykolog", "");
    EXPECT_EQ(message(), text(180));
    EXPECT_EQ(focused(), edit("passwordEdit_1003"));
    ok("psykolog", "de");
    EXPECT_EQ(message(), text(181));
    EXPECT_EQ(focused(), edit("passwordEdit_1003"));
}

TEST_F(Login, UnknownUserAndWrongPasswordAreToldApart) {
    ok(QString::fromUtf8("okänd"), "demo123");
    EXPECT_EQ(message(), text(182));
    EXPECT_EQ(focused(), edit("userNameEdit_1002"));
    ok("psykolog", "DEMO123"); // compared with its case
    EXPECT_EQ(message(), text(183));
    EXPECT_EQ(focused(), edit("passwordEdit_1003"));
    ok("o'brien", "demo123"); // an apostrophe is only a character of the name
    EXPECT_EQ(message(), text(182));
    EXPECT_TRUE(dialog_->isVisible());
}

// Guessing: three failures for a name are answered at once, then each attempt for that name
// waits 1 s, 2 s, 4 s ... at most 30 s, and is not checked before; other names are not held up.
TEST_F(Login, RepeatedFailuresForANameMakeTheNextAttemptWait) {
    const struct {
        int failures;
        std::int64_t waitMs;
    } waits[] = {{0, 0}, {2, 0}, {3, 1000}, {4, 2000}, {7, 16000}, {8, 30000}, {60, 30000}};
    for (const auto& w : waits) {
        EXPECT_EQ(LoginBackoff::waitAfter(w.failures), w.waitMs) << w.failures;
    }
    std::int64_t now = 5'000'000;
    setFixedUtcMilliseconds(now);
    const std::string waitOne =
        "För många felaktiga försök. Vänta 1 sekund innan du försöker igen.";
    const struct {
        std::int64_t advanceMs;
        const char* password;
        std::string said; // empty: logged in
    } steps[] = {
        {0, "fel1", text(183)},
        {0, "fel2", text(183)},
        {0, "fel3", text(183)},
        {0, "demo123", waitOne}, // the right password is not even checked yet
        {999, "demo123", waitOne},
        {1, "fel4", text(183)},
        {0, "demo123", "För många felaktiga försök. Vänta 2 sekunder innan du försöker igen."},
        {1999, "demo123", waitOne},
        {1, "demo123", ""},
    };
    for (const auto& step : steps) {
        now += step.advanceMs;
        setFixedUtcMilliseconds(now);
        ok("psykolog", step.password);
        if (step.said.empty()) {
            EXPECT_TRUE(messages_.texts().empty()) << step.password;
            EXPECT_EQ(dialog_->result(), 1);
        } else {
            EXPECT_EQ(message(), step.said) << step.password << " at " << now;
        }
        if (std::string(step.password) == "fel3") {
            ok("annan", "demo123"); // another name is answered at once
            EXPECT_EQ(message(), text(182));
        }
    }
    // The login cleared the name's count in the register.
    LoginFailures kept;
    ASSERT_EQ(DoReadLoginFailures("psykolog", kept), DB_DONE);
    EXPECT_EQ(kept.count, 0);
}

TEST_F(Login, ControlCharactersInNameOrPasswordAreRefused) {
    const struct {
        const char* field;
        QString value;
        const char* says;
    } cases[] = {
        {"userNameEdit_1002", QStringLiteral("psyk\tolog"), "Användarnamnet får inte innehålla"},
        {"passwordEdit_1003",
         QString::fromUtf8("demo\x01"
                           "123"),
         "Lösenordet får inte innehålla"},
        {"passwordEdit_1003",
         QString::fromUtf8("demo\xC2\x85"
                           "12"),
         "Lösenordet får inte"},
    };
    for (const auto& c : cases) {
        type("userNameEdit_1002", "psykolog");
        type("passwordEdit_1003", "demo123");
        edit(c.field)->setText(c.value);
        messages_.clear();
        QTest::mouseClick(button("okButton_1"), Qt::LeftButton);
        EXPECT_NE(message().find(c.says), std::string::npos) << c.says;
        EXPECT_EQ(focused(), edit(c.field));
        EXPECT_TRUE(dialog_->isVisible());
    }
}

TEST_F(Login, MatchingPasswordEndsTheDialogWithOne) {
    ok("psykolog", "demo123");
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), 1);
}

TEST_F(Login, ThreeCharactersAreEnoughAndTenAreAllRead) {
    ASSERT_EQ(DoUpdatePassword("abc", "psykolog"), DB_DONE);
    ok("psykolog", "abc");
    EXPECT_EQ(dialog_->result(), 1);
    dialog_->show();
    ASSERT_EQ(DoUpdatePassword("0123456789", "psykolog"), DB_DONE);
    ok("psykolog", "0123456789XYZ"); // the field takes ten characters
    EXPECT_EQ(edit("passwordEdit_1003")->text(), "0123456789");
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_EQ(dialog_->result(), 1);
}

TEST_F(Login, ChangeLayoutAndBackWithCancel) {
    QTest::mouseClick(button("changePasswordButton_1016"), Qt::LeftButton);
    EXPECT_EQ(dialog_->loginMode(), 2);
    EXPECT_EQ(dialog_->size(), QSize(520, 270));
    EXPECT_TRUE(edit("newPasswordEdit_1004")->isVisible());
    EXPECT_EQ(edit("newPasswordEdit_1004")->geometry(), QRect(170, 165, 200, 23));
    EXPECT_EQ(edit("confirmPasswordEdit_1005")->geometry(), QRect(170, 200, 200, 23));
    EXPECT_TRUE(control<QLabel>("confirmPasswordLabel_1018")->isVisible());
    EXPECT_EQ(button("okButton_1")->geometry(), QRect(400, 163, 110, 23));
    EXPECT_EQ(button("cancelButton_2")->geometry(), QRect(400, 195, 110, 23));
    EXPECT_FALSE(button("changePasswordButton_1016")->isVisible());
    EXPECT_EQ(dialog_->y(), (screenSize().height - 270) / 2);
    EXPECT_EQ(focused(), edit("userNameEdit_1002"));
    saveScreenshot();

    QTest::mouseClick(button("cancelButton_2"), Qt::LeftButton); // back, not out
    EXPECT_TRUE(dialog_->isVisible());
    expectLoginLayout();
    QTest::mouseClick(button("cancelButton_2"), Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), 0);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(Login, NewPasswordMustBeLongEnoughAndConfirmed) {
    QTest::mouseClick(button("changePasswordButton_1016"), Qt::LeftButton);
    changeTo("ny", "ny");
    EXPECT_EQ(message(), text(184));
    EXPECT_EQ(edit("newPasswordEdit_1004")->text(), "");
    EXPECT_EQ(edit("confirmPasswordEdit_1005")->text(), "");
    EXPECT_EQ(focused(), edit("newPasswordEdit_1004"));
    changeTo("nyttord", "nyttOrd");
    EXPECT_EQ(message(), text(186));
    EXPECT_EQ(edit("confirmPasswordEdit_1005")->text(), "");
    EXPECT_EQ(focused(), edit("newPasswordEdit_1004"));
    EXPECT_EQ(dialog_->loginMode(), 2);
    EXPECT_EQ(DoReadPassword("psykolog", "demo123"), DB_DONE); // unchanged
}

TEST_F(Login, WrongCurrentPasswordChangesNothing) {
    QTest::mouseClick(button("changePasswordButton_1016"), Qt::LeftButton);
    type("newPasswordEdit_1004", "nyttord");
    type("confirmPasswordEdit_1005", "nyttord");
    ok("psykolog", "fel123");
    EXPECT_EQ(message(), text(183));
    EXPECT_EQ(DoReadPassword("psykolog", "demo123"), DB_DONE);
}

TEST_F(Login, AcceptedChangeReturnsToLoginWithTheUserNameKept) {
    QTest::mouseClick(button("changePasswordButton_1016"), Qt::LeftButton);
    changeTo("nyttord", "nyttord");
    EXPECT_EQ(message(), text(185));
    EXPECT_EQ(DoReadPassword("psykolog", "nyttord"), DB_DONE);
    expectLoginLayout();
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(edit("userNameEdit_1002")->text(), "psykolog");
    EXPECT_EQ(edit("passwordEdit_1003")->text(), "");
    EXPECT_EQ(focused(), edit("passwordEdit_1003"));
    // The user then logs in with the new password.
    messages_.clear();
    QTest::keyClicks(edit("passwordEdit_1003"), "nyttord");
    QTest::mouseClick(button("okButton_1"), Qt::LeftButton);
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_EQ(dialog_->result(), 1);
}

// Each attempt leaves its row: the name tried, never the password; a login whose row cannot be
// written is refused.
TEST_F(Login, AttemptsChangesAndLoginsAreLoggedAndALoginWithoutItsRowIsRefused) {
    ok("psykolog", "fel123");
    ok(QString::fromUtf8("okänd"), "demo123");
    QTest::mouseClick(button("changePasswordButton_1016"), Qt::LeftButton);
    changeTo("nyttord", "nyttord");
    Statement refuse;
    ASSERT_TRUE(refuse.executeDirect("CREATE TRIGGER no_log BEFORE INSERT ON ATKOMSTLOGG BEGIN "
                                     "SELECT RAISE(ABORT, 'loggen är full'); END") &&
                refuse.commit());
    ok("psykolog", "nyttord");
    EXPECT_TRUE(dialog_->isVisible());
    ASSERT_FALSE(messages_.texts().empty());
    EXPECT_EQ(messages_.texts().back(), kAccessLogRefusedMessage);
    Statement allow;
    ASSERT_TRUE(allow.executeDirect("DROP TRIGGER no_log") && allow.commit());
    ok("psykolog", "nyttord");
    EXPECT_EQ(dialog_->result(), 1);

    std::vector<std::string> rows;
    DoListAccessLog({}, [&](const AccessLogRow& row) {
        rows.push_back(row.event + " " + row.user + " " + row.detail);
    });
    ASSERT_FALSE(rows.empty());
    rows.erase(rows.begin()); // the user added with the database
    const std::vector<std::string> expected = {
        "login-failed psykolog fel lösenord",
        "login-failed okänd okänd användare",
        "password-changed psykolog ",
        "login psykolog ",
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(accessLogUser(), "psykolog");
}

// Tab reaches every control in turn; Enter in a field presses OK, Enter on a focused button
// presses that button, and Esc anywhere cancels.
TEST_F(Login, KeyboardWalkWithEnterAndEsc) {
    const std::vector<QWidget*> chain = {edit("userNameEdit_1002"), edit("passwordEdit_1003"),
                                         button("okButton_1"), button("cancelButton_2"),
                                         button("changePasswordButton_1016")};
    edit("userNameEdit_1002")->setFocus();
    for (std::size_t i = 1; i <= chain.size(); ++i) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        EXPECT_EQ(focused(), chain[i % chain.size()]) << i;
    }

    // Enter in either field: OK, which asks for the user name.
    for (const char* name : {"userNameEdit_1002", "passwordEdit_1003"}) {
        messages_.clear();
        edit(name)->setFocus();
        QTest::keyClick(edit(name), Qt::Key_Return);
        EXPECT_EQ(message(), text(178)) << name;
    }
    // Enter on OK presses OK.
    messages_.clear();
    button("okButton_1")->setFocus();
    QTest::keyClick(button("okButton_1"), Qt::Key_Return);
    EXPECT_EQ(message(), text(178));

    // Enter on "Ändra lösenord" opens the change layout, not OK.
    messages_.clear();
    button("changePasswordButton_1016")->setFocus();
    QTest::keyClick(button("changePasswordButton_1016"), Qt::Key_Return);
    EXPECT_EQ(dialog_->loginMode(), 2);
    EXPECT_TRUE(messages_.texts().empty());
    // There, Enter on "Avbryt" goes back to logging in; Enter in a field is still OK.
    edit("confirmPasswordEdit_1005")->setFocus();
    QTest::keyClick(edit("confirmPasswordEdit_1005"), Qt::Key_Return);
    EXPECT_EQ(message(), text(178));
    button("cancelButton_2")->setFocus();
    QTest::keyClick(button("cancelButton_2"), Qt::Key_Enter);
    expectLoginLayout();
    EXPECT_TRUE(dialog_->isVisible());

    // Enter on "Avbryt" in the login layout cancels the dialog.
    messages_.clear();
    button("cancelButton_2")->setFocus();
    QTest::keyClick(button("cancelButton_2"), Qt::Key_Return);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), 0);
    EXPECT_TRUE(messages_.texts().empty());

    // Esc on every control cancels as well.
    for (QWidget* control : chain) {
        dialog_->show();
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_FALSE(dialog_->isVisible()) << control->objectName().toStdString();
        EXPECT_EQ(dialog_->result(), 0);
    }
    EXPECT_TRUE(messages_.texts().empty());
}

} // namespace
