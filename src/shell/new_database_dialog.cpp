// SPDX-License-Identifier: Apache-2.0
#include "new_database_dialog.h"

#include "screen_size.h"

#include "db.h"
#include "demo_database.h"
#include "message_box.h"
#include "text_table.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The login dialog's rules: 3 to 10 characters.
constexpr int kMinLength = 3;
constexpr int kMaxLength = 10;

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit* field(QWidget* parent, const char* name, bool masked) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(kMaxLength);
    if (masked) {
        edit->setEchoMode(QLineEdit::Password);
    }
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* push = new QPushButton(QString::fromUtf8(caption), parent);
    push->setObjectName(QLatin1String(name));
    return push;
}

int characters(const QString& text) {
    return static_cast<int>(text.toStdU32String().size());
}

} // namespace

NewDatabaseDialog::NewDatabaseDialog(QWidget* owner, const QFont& controlFont,
                                     std::filesystem::path file)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::CustomizeWindowHint),
      file_(std::move(file)) {
    setObjectName("newDatabaseDialog");
    setWindowTitle(QString::fromUtf8("Ny databas för ") + kProgramCaption);
    QLabel* prompt =
        label(this, "promptLabel",
              QString::fromUtf8("Det finns ingen databas i %1.\nSkapa en ny databas där? Ange "
                                "användarnamn och lösenord (3-10 tecken) för inloggningen.")
                  .arg(QString::fromStdString(file_.parent_path().string())));
    prompt->setWordWrap(true);
    QLabel* warning = label(this, "demoNormsWarning",
                            QString::fromUtf8("OBS! Databasen får syntetiska demonstrationsnormer. "
                                              "De är inte normerna för något verkligt test och "
                                              "får inte användas för klinisk bedömning."));
    warning->setWordWrap(true);
    warning->setFrameShape(QFrame::Box);
    warning->setMargin(6);
    warning->setStyleSheet("color: #8b0000;");
    QLabel* userLabel = label(this, "userNameLabel", QString::fromStdString(text(49)));
    QLabel* passwordLabel = label(this, "passwordLabel", QString::fromStdString(text(50)));
    QLabel* confirmLabel =
        label(this, "confirmPasswordLabel", QString::fromUtf8("Bekräfta lösenord:"));
    userName_ = field(this, "userNameEdit", false);
    password_ = field(this, "passwordEdit", true);
    confirmPassword_ = field(this, "confirmPasswordEdit", true);
    create_ = button(this, "createButton", "&Skapa databas");
    create_->setDefault(true);
    cancel_ = button(this, "cancelButton", "&Avbryt");
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setFont(controlFont);
    }
    QFont bold = controlFont;
    bold.setBold(true);
    warning->setFont(bold);

    prompt->setGeometry(15, 12, 490, 60);
    warning->setGeometry(15, 78, 490, 62);
    for (QLabel* caption : {userLabel, passwordLabel, confirmLabel}) {
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    userLabel->setGeometry(13, 158, 150, 25);
    userName_->setGeometry(170, 155, 200, 23);
    passwordLabel->setGeometry(13, 193, 150, 25);
    password_->setGeometry(170, 190, 200, 23);
    confirmLabel->setGeometry(13, 228, 150, 25);
    confirmPassword_->setGeometry(170, 225, 200, 23);
    create_->setGeometry(390, 155, 115, 23);
    cancel_->setGeometry(390, 190, 115, 23);
    setFixedSize(520, 270);
    setTabOrder(userName_, password_);
    setTabOrder(password_, confirmPassword_);
    setTabOrder(confirmPassword_, create_);
    setTabOrder(create_, cancel_);
    userName_->setFocus();

    connect(create_, &QPushButton::clicked, this, &NewDatabaseDialog::onCreate);
    connect(cancel_, &QPushButton::clicked, this, &NewDatabaseDialog::reject);
}

void NewDatabaseDialog::tell(const std::string& message) {
    MessageRequest request;
    request.text = message;
    request.caption = kProgramCaption;
    request.owner = this;
    showMessageBox(request);
}

void NewDatabaseDialog::onCreate() {
    const QString user = userName_->text();
    const QString password = password_->text();
    if (characters(user) < kMinLength) {
        tell(text(user.isEmpty() ? 178 : 179));
        userName_->setFocus();
        return;
    }
    if (characters(password) < kMinLength) {
        tell(text(password.isEmpty() ? 180 : 181));
        password_->setFocus();
        return;
    }
    if (confirmPassword_->text() != password) {
        tell("Lösenorden är inte lika. Gör ett nytt försök !");
        confirmPassword_->clear();
        confirmPassword_->setFocus();
        return;
    }
    std::string error;
    if (!createDemoDatabase(file_.string(), user.toStdString(), password.toStdString(), error)) {
        tell(error);
        return;
    }
    createdDatabaseUser() = user.toStdString();
    done(1);
}

std::string& createdDatabaseUser() {
    static std::string user;
    return user;
}

int runNewDatabaseDialog(QWidget* owner, const QFont& controlFont) {
    std::error_code error;
    NewDatabaseDialog dialog(owner, controlFont,
                             std::filesystem::current_path(error) / kDatabaseFileName);
    // Shown before the main window, so it is centred on the screen rather than on an owner.
    const ScreenSize screen = screenSize();
    dialog.move((screen.width - dialog.width()) / 2, (screen.height - dialog.height()) / 2);
    return dialog.exec() == 1 ? 1 : 0;
}
