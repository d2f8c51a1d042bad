// SPDX-License-Identifier: Apache-2.0
#include "demo_database.h"
#include "first_start.h"
#include "login_dialog.h"
#include "main_window.h"
#include "new_database_dialog.h"
#include "program.h"
#include "program_driver.h"
#include "screen_size.h"
#include "settings_location.h"
#include "text_table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

// Acts on the new-database dialog whenever it is shown.
class NewDatabaseAnswerer {
  public:
    explicit NewDatabaseAnswerer(std::function<void(NewDatabaseDialog&)> action)
        : action_(std::move(action)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<NewDatabaseDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) {
                return;
            }
            ++shown_;
            timer_.stop();
            action_(*dialog);
        });
        timer_.start();
    }
    int shown() const { return shown_; }

  private:
    QTimer timer_;
    std::function<void(NewDatabaseDialog&)> action_;
    int shown_ = 0;
};

void fillIn(NewDatabaseDialog& dialog, const QString& user, const QString& password,
            const QString& again) {
    for (const auto& [name, value] :
         {std::pair{"userNameEdit", user}, std::pair{"passwordEdit", password},
          std::pair{"confirmPasswordEdit", again}}) {
        auto* edit = dialog.findChild<QLineEdit*>(name);
        edit->clear();
        QTest::keyClicks(edit, value);
    }
}

// A start from the menu: the program's working folder, with its data folder under it.
class FirstStart : public ::testing::Test {
  protected:
    FirstStart()
        : environment_(false), dataHome_("XDG_DATA_HOME", (environment_.dir().path() / "share")) {}
    void SetUp() override {
        ASSERT_TRUE(enterDataFolder());
        EXPECT_EQ(std::filesystem::current_path(), dataFolderPath());
    }
    void TearDown() override {
        createdDatabaseUser().clear();
        startedFromMenu() = false;
        processDeletions();
    }
    std::filesystem::path database() const { return dataFolderPath() / "DODODA.db"; }

    ProgramEnvironment environment_;
    ScopedEnvironment dataHome_;
};

TEST_F(FirstStart, NoDatabaseOfferCreatesOneForTheUserAloneThenTheLogin) {
    EXPECT_EQ(modeOf(dataFolderPath()), 0700u);
    NewDatabaseAnswerer offer([this](NewDatabaseDialog& dialog) {
        EXPECT_FALSE(std::filesystem::exists(database()));
        const QString warning = dialog.findChild<QLabel*>("demoNormsWarning")->text();
        EXPECT_TRUE(warning.contains("demonstrationsnormer")) << warning.toStdString();
        EXPECT_TRUE(warning.contains(QString::fromUtf8("får inte användas för klinisk bedömning")));
        EXPECT_TRUE(dialog.findChild<QLabel*>("promptLabel")
                        ->text()
                        .contains(QString::fromStdString(dataFolderPath().string())));
        // Centred on the screen, not in its corner.
        const ScreenSize screen = screenSize();
        EXPECT_NEAR(dialog.geometry().center().x(), screen.width / 2, 2);
        EXPECT_NEAR(dialog.geometry().center().y(), screen.height / 2, 2);
        fillIn(dialog, "anna", "hemligt1", "hemligt1");
        saveScreenshot(dialog, "new_database_dialog.png");
        QTest::keyClick(dialog.findChild<QLineEdit*>("confirmPasswordEdit"), Qt::Key_Return);
    });
    bool databaseReadyAtLogin = false;
    QString proposedUser;
    bool passwordFocused = false;
    LoginAnswerer login("anna", "hemligt1");
    login.onShown = [&](LoginDialog& dialog) {
        databaseReadyAtLogin = std::filesystem::exists(database()) && modeOf(database()) == 0600u;
        // The name just chosen stands in the login, the password is to be typed.
        proposedUser = dialog.findChild<QLineEdit*>("userNameEdit_1002")->text();
        passwordFocused = dialog.focusWidget() == dialog.findChild<QLineEdit*>("passwordEdit_1003");
    };
    StartScreenWatcher watcher([](MainWindow& window) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(offer.shown(), 1);
    EXPECT_EQ(login.answered(), 1);
    EXPECT_TRUE(databaseReadyAtLogin);
    EXPECT_EQ(proposedUser, "anna");
    EXPECT_TRUE(passwordFocused);
    EXPECT_TRUE(watcher.ran()); // the new user logged in with the new password
    EXPECT_TRUE(environment_.messages().texts().empty());
    EXPECT_FALSE(std::filesystem::exists(environment_.dir().file("DODODA.db")));
}

TEST_F(FirstStart, DeclinedOfferEndsQuietlyWithoutADatabase) {
    NewDatabaseAnswerer offer(
        [](NewDatabaseDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    LoginAnswerer login("anna", "hemligt1");
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(offer.shown(), 1);
    EXPECT_EQ(login.answered(), 0);
    EXPECT_TRUE(environment_.messages().texts().empty());
    EXPECT_FALSE(std::filesystem::exists(database()));
    processDeletions();
    EXPECT_EQ(visibleMainWindow(), nullptr);
}

TEST_F(FirstStart, ExistingDatabaseInTheDataFolderGoesStraightToTheLogin) {
    std::string error;
    ASSERT_TRUE(createDemoDatabase(database().string(), "psykolog", "demo123", error)) << error;
    NewDatabaseAnswerer offer([](NewDatabaseDialog& dialog) { dialog.reject(); });
    LoginAnswerer login("", "");
    login.cancel = true;
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(offer.shown(), 0);
    EXPECT_EQ(login.answered(), 1);
    EXPECT_TRUE(environment_.messages().texts().empty());
}

// A clinic's register on a server: no file is offered; the program goes to the configured data
// source (here one whose driver is missing, so the connection fails and says so).
TEST_F(FirstStart, ConfiguredDataSourceIsUsedAndNoFileIsOffered) {
    const std::filesystem::path config = environment_.dir().path() / "config";
    std::filesystem::create_directories(config / "RIVO-IV");
    std::ofstream(config / "RIVO-IV" / "datakalla.ini") << "ODBC=DRIVER=Finns inte;\n";
    ScopedEnvironment configHome("XDG_CONFIG_HOME", config.string());
    NewDatabaseAnswerer offer([](NewDatabaseDialog& dialog) { dialog.reject(); });
    LoginAnswerer login("", "");
    login.cancel = true;
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(offer.shown(), 0);
    EXPECT_EQ(login.answered(), 0);
    const std::vector<std::string> said = environment_.messages().texts();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[1], text(60));
    EXPECT_FALSE(std::filesystem::exists(database()));
}

TEST_F(FirstStart, BadNamesAndPasswordsAreToldAndTheDialogStays) {
    struct Case {
        const char* user;
        const char* password;
        const char* again;
        std::string message;
    };
    const Case cases[] = {
        {"", "hemligt1", "hemligt1", text(178)},
        {"an", "hemligt1", "hemligt1", text(179)},
        {"anna", "", "", text(180)},
        {"anna", "he", "he", text(181)},
        {"anna", "hemligt1", "hemligt2", "Lösenorden är inte lika. Gör ett nytt försök !"},
    };
    NewDatabaseAnswerer offer([&](NewDatabaseDialog& dialog) {
        for (const Case& row : cases) {
            environment_.messages().clear();
            fillIn(dialog, row.user, row.password, row.again);
            QTest::mouseClick(dialog.findChild<QPushButton*>("createButton"), Qt::LeftButton);
            ASSERT_EQ(environment_.messages().texts().size(), 1u) << row.user;
            EXPECT_EQ(environment_.messages().texts()[0], row.message);
            EXPECT_EQ(environment_.messages().requests()[0].owner, &dialog);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_FALSE(std::filesystem::exists(database()));
        }
        // Eleven characters cannot be typed: the field keeps ten, as the login's does.
        fillIn(dialog, "abcdefghijk", "x", "x");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("userNameEdit")->text(), "abcdefghij");
        QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(offer.shown(), 1);
    EXPECT_FALSE(std::filesystem::exists(database()));
}

// Tab runs through every control in order and comes round; Enter in a field or on "Skapa
// databas" tries to create (here: told the user name is missing), Enter on "Avbryt" and Esc
// anywhere close the dialog with 0.
TEST_F(FirstStart, KeyboardTabEnterAndEscOnEveryControl) {
    const char* order[] = {"userNameEdit", "passwordEdit", "confirmPasswordEdit", "createButton",
                           "cancelButton"};
    NewDatabaseDialog dialog(nullptr, QFont(), database());
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    for (int step = 0; step <= 5; ++step) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), order[step % 5]) << step;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char* name : order) {
        NewDatabaseDialog keyed(nullptr, QFont(), database());
        keyed.show();
        keyed.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&keyed));
        QWidget* control = keyed.findChild<QWidget*>(name);
        control->setFocus();
        environment_.messages().clear();
        QTest::keyClick(control, Qt::Key_Return);
        if (std::string(name) == "cancelButton") {
            EXPECT_FALSE(keyed.isVisible());
            EXPECT_EQ(keyed.result(), 0);
            EXPECT_TRUE(environment_.messages().texts().empty());
            continue;
        }
        EXPECT_TRUE(keyed.isVisible()) << name;
        EXPECT_EQ(environment_.messages().texts(), std::vector<std::string>{text(178)}) << name;
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_FALSE(keyed.isVisible()) << name;
        EXPECT_EQ(keyed.result(), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(database()));
}

TEST(FirstStartFolder, UnusableDataFolderIsToldAndNothingStarts) {
    ProgramEnvironment environment(false);
    { std::ofstream(environment.dir().file("RIVO-IV")) << "a file where the folder should be"; }
    ScopedEnvironment dataHome("XDG_DATA_HOME", environment.dir().path().string());
    EXPECT_FALSE(enterDataFolder());
    EXPECT_FALSE(startedFromMenu());
    ASSERT_EQ(environment.messages().requests().size(), 1u);
    const MessageRequest& shown = environment.messages().requests()[0];
    EXPECT_NE(shown.text.find(environment.dir().file("RIVO-IV").string()), std::string::npos)
        << shown.text;
    EXPECT_EQ(shown.caption, "RIVO-IV");
    EXPECT_TRUE(shown.withoutOwner);
    EXPECT_EQ(std::filesystem::current_path(), environment.dir().path());
}

// The real program started as the menu entry starts it: it makes the data folder and waits in
// the offer, having created nothing else.
TEST(FirstStartProgram, MenuOptionWorksInTheDataFolder) {
    TempDir dir;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert("QT_QPA_PLATFORM", "offscreen");
    variables.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path().string()));
    variables.insert("XDG_DATA_HOME", QString::fromStdString((dir.path() / "share").string()));
    QProcess program;
    program.setProcessEnvironment(variables);
    program.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    program.start(RIVO_IV_PATH, {"--data-folder"});
    ASSERT_TRUE(program.waitForStarted(10000));
    const std::filesystem::path folder = dir.path() / "share" / "RIVO-IV";
    QElapsedTimer waited;
    waited.start();
    while (!std::filesystem::exists(folder) && waited.elapsed() < 20000) {
        QTest::qWait(50);
    }
    QTest::qWait(300);
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "DODODA.db"));
}

} // namespace
