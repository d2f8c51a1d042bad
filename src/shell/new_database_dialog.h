// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDialog>

#include <filesystem>
#include <string>

class QLineEdit;
class QPushButton;

// Offered on a start from the desktop menu when the data folder holds no database: creates one
// with a user name, a password typed twice and the synthetic demonstration norms, which the
// dialog says plainly are not for clinical use. Ends with 1 when the database was created, 0
// when the user declined (Avbryt, Esc, the close box).
class NewDatabaseDialog : public QDialog {
    Q_OBJECT

  public:
    NewDatabaseDialog(QWidget* owner, const QFont& controlFont, std::filesystem::path file);

  private:
    void onCreate();
    void tell(const std::string& message);

    std::filesystem::path file_;
    QLineEdit* userName_;
    QLineEdit* password_;
    QLineEdit* confirmPassword_;
    QPushButton* create_;
    QPushButton* cancel_;
};

// Runs the dialog modally for the database file in the working directory; 1 when it was
// created.
int runNewDatabaseDialog(QWidget* owner, const QFont& controlFont);

// The user name the database was just created with in this run, for the login; empty when none.
std::string& createdDatabaseUser();
