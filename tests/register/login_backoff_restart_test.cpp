// SPDX-License-Identifier: Apache-2.0
// The wait after repeated failed logins outlives the program: a program that failed eight times
// for a name and was then killed (SIGKILL, no chance to tidy up) leaves the next run of the
// program waiting for that name, written in any case and with spaces around it. When the register
// refuses to keep the count, the wait still holds for the rest of the run.

#include "clock.h"
#include "db.h"
#include "demo_database.h"
#include "login_backoff.h"
#include "login_dialog.h"
#include "login_failures.h"
#include "message_capture.h"
#include "statement.h"
#include "temp_dir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const char* kChildRegister = "RIVO_BACKOFF_CHILD_REGISTER";
constexpr const char* kChildReady = "RIVO_BACKOFF_CHILD_READY";
const std::string kWaitSaid = "För många felaktiga försök. Vänta ";

// The login dialog, shown, answering attempts; every message box is recorded.
class Attempts {
  public:
    Attempts() : dialog_(std::make_unique<LoginDialog>(nullptr, QFont("Liberation Sans"))) {
        dialog_->show();
    }
    // The messages the attempt gave (empty: logged in).
    std::vector<std::string> attempt(const QString& user, const QString& password) {
        edit("userNameEdit_1002")->setText(user);
        edit("passwordEdit_1003")->setText(password);
        messages_.clear();
        QTest::mouseClick(dialog_->findChild<QPushButton*>("okButton_1"), Qt::LeftButton);
        return messages_.texts();
    }
    int result() const { return dialog_->result(); }

  private:
    QLineEdit* edit(const char* name) { return dialog_->findChild<QLineEdit*>(name); }

    MessageCapture messages_;
    std::unique_ptr<LoginDialog> dialog_;
};

bool saysWait(const std::vector<std::string>& said) {
    return said.size() == 1 && said[0].starts_with(kWaitSaid);
}

// Run only as the child of the restart test: fails eight times for "psykolog" through the
// dialog, the clock stepped over each wait, says it is done and waits to be killed.
TEST(LoginBackoffChild, FailsEightTimesThenWaitsToBeKilled) {
    const char* registerPath = std::getenv(kChildRegister);
    if (registerPath == nullptr) {
        GTEST_SKIP() << "run by LoginBackoffRestart only";
    }
    ASSERT_EQ(DoConnect("", "", registerPath), 1);
    Attempts dialog;
    std::int64_t now = utcMilliseconds();
    for (int failure = 1; failure <= 8; ++failure) {
        setFixedUtcMilliseconds(now);
        const std::vector<std::string> said = dialog.attempt("psykolog", "fel-lösenord");
        ASSERT_EQ(said.size(), 1u);
        ASSERT_FALSE(said[0].starts_with(kWaitSaid)) << "failure " << failure;
        now += LoginBackoff::waitAfter(failure);
    }
    std::ofstream(std::getenv(kChildReady)) << "klar\n";
    for (;;) {
        ::pause();
    }
}

TEST(LoginBackoffRestart, TheWaitOutlivesAKilledProgram) {
    TempDir dir;
    const std::string registerPath = dir.file(kDatabaseFileName).string();
    const fs::path ready = dir.path() / "klar";
    std::string error;
    ASSERT_TRUE(createDemoDatabase(registerPath, "psykolog", "demo123", error)) << error;
    fs::create_directories(dir.path() / "run");
    fs::create_directories(dir.path() / "config");

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv(kChildRegister, registerPath.c_str(), 1);
        ::setenv(kChildReady, ready.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (dir.path() / "run").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
        ::execl("/proc/self/exe", "register_test",
                "--gtest_filter=LoginBackoffChild.FailsEightTimesThenWaitsToBeKilled",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    bool exited = false;
    while (!fs::exists(ready) && std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!exited) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    ASSERT_TRUE(fs::exists(ready)) << "the child did not finish its failures, status " << status;
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;

    // The next run: nothing in memory, the real clock.
    loginBackoff() = LoginBackoff{};
    clearFixedUtcMilliseconds();
    ASSERT_EQ(DoConnect("", "", registerPath.c_str()), 1);
    {
        Attempts dialog;
        for (const char* name : {"psykolog", "PSYKOLOG", " Psykolog  "}) {
            EXPECT_TRUE(saysWait(dialog.attempt(name, "demo123"))) << name;
        }
        EXPECT_NE(dialog.result(), 1);
        LoginFailures failures;
        ASSERT_EQ(DoReadLoginFailures("psykolog", failures), DB_DONE);
        EXPECT_EQ(failures.count, 8); // the refused attempts were not even checked

        // After the longest wait the right password logs in and the count is forgotten.
        setFixedUtcMilliseconds(utcMilliseconds() + 61'000);
        EXPECT_TRUE(dialog.attempt("psykolog", "demo123").empty());
        EXPECT_EQ(dialog.result(), 1);
        ASSERT_EQ(DoReadLoginFailures("psykolog", failures), DB_DONE);
        EXPECT_EQ(failures.count, 0);
    }
    clearFixedUtcMilliseconds();
    DoDisconnect();
}

// A register that will not keep the count (a trigger refuses it) still makes the name wait for
// the rest of the run; the refusal has been shown.
TEST(LoginBackoffRestart, ACountTheRegisterRefusesIsKeptForTheRun) {
    TempDir dir;
    const std::string registerPath = dir.file(kDatabaseFileName).string();
    std::string error;
    ASSERT_TRUE(createDemoDatabase(registerPath, "psykolog", "demo123", error)) << error;
    ASSERT_EQ(DoConnect("", "", registerPath.c_str()), 1);
    {
        Statement refuse;
        ASSERT_TRUE(refuse.executeDirect(
                        "CREATE TRIGGER VAGRA_FORSOK BEFORE INSERT ON INLOGGNINGSFORSOK BEGIN "
                        "SELECT RAISE(ABORT, 'Inga försök sparas.'); END") &&
                    refuse.commit());
    }
    loginBackoff() = LoginBackoff{};
    setFixedUtcMilliseconds(1'796'000'000'000);
    {
        Attempts dialog;
        for (int failure = 1; failure <= 3; ++failure) {
            const std::vector<std::string> said = dialog.attempt("psykolog", "fel-lösenord");
            ASSERT_FALSE(said.empty());
            EXPECT_NE(said.front().find("Inga försök sparas"), std::string::npos) << said.front();
        }
        EXPECT_TRUE(saysWait(dialog.attempt("PSYKOLOG", "demo123")));
        setFixedUtcMilliseconds(1'796'000'001'000);
        EXPECT_TRUE(dialog.attempt("psykolog", "demo123").empty());
        EXPECT_EQ(dialog.result(), 1);
    }
    loginBackoff() = LoginBackoff{};
    clearFixedUtcMilliseconds();
    DoDisconnect();
}

} // namespace
