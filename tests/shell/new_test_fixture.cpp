// SPDX-License-Identifier: Apache-2.0
#include "new_test_fixture.h"

#include "clock.h"
#include "db.h"
#include "program.h"
#include "reject_key.h"
#include "settings_location.h"
#include "shell_state.h"
#include "start_up.h"
#include "statement.h"

#include <QApplication>
#include <QTest>

#include <memory>

namespace {

std::string configFolder(const ProgramEnvironment& environment) {
    return (environment.dir().path() / "config").string();
}

bool ascii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 128) {
            return false;
        }
    }
    return true;
}

} // namespace

// The settings folder is the test's own before anything can write to it.
NewTestRoad::NewTestRoad() : configHome_("XDG_CONFIG_HOME", configFolder(environment_)) {}

void NewTestRoad::SetUp() {
    setFixedToday(DateValue{2024, 3, 15});
    setBeepHandler([this] { ++beeps_; });
    window_ = new MainWindow;
    registerScreens(*window_);
    auto probe = std::make_unique<ResultsProbe>();
    results_ = probe.get();
    window_->setScreen(SCREEN_RESULTS, std::move(probe));
    LoginAnswerer login("psykolog", "demo123");
    ASSERT_EQ(startUp(*window_), 1);
    window_->loadAccelerators();
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    window_->setFocus();
    environment_.messages().clear();
}

void NewTestRoad::TearDown() {
    delete window_.data();
    processDeletions();
    setBeepHandler(nullptr);
    clearFixedToday();
}

void NewTestRoad::beginNewTest() {
    window_->setFocus();
    QTest::keyClick(window_, Qt::Key_Return);
    ASSERT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
}

void NewTestRoad::typePerson() {
    type(field("namnField"), "Anna Berg");
    type(field("adressField"), "Storgatan 1");
    type(field("testledareField"), "Eva Lund");
    type(field("testdatumField"), "20240315");
    type(field("fodelsedatumField"), "19800101");
    type(field("konField"), "k");
    type(field("hanthetField"), "h");
}

void NewTestRoad::openRawScoreForm() {
    beginNewTest();
    typePerson();
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES)
        << testing::PrintToString(environment_.messages().texts());
}

QLineEdit* NewTestRoad::field(const char* objectName) {
    auto* found = window_->findChild<QLineEdit*>(objectName);
    EXPECT_NE(found, nullptr) << objectName;
    return found;
}

QLineEdit* NewTestRoad::rawField(int id) {
    return field(QStringLiteral("rawScoreField%1").arg(id).toLatin1().constData());
}

QWidget* NewTestRoad::focused() const {
    return QApplication::focusWidget();
}

void NewTestRoad::type(QLineEdit* target, const QString& text) {
    target->setFocus(Qt::MouseFocusReason);
    target->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(target, Qt::Key_Delete);
    } else if (ascii(text)) {
        QTest::keyClicks(target, text);
    } else {
        target->insert(text);
    }
}

void NewTestRoad::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = focused();
    QTest::keyClick(target != nullptr ? target : window_.data(), key, modifiers);
}

std::string NewTestRoad::message() {
    const std::vector<std::string> texts = environment_.messages().texts();
    EXPECT_EQ(texts.size(), 1u) << testing::PrintToString(texts);
    return texts.empty() ? std::string() : texts.back();
}

void NewTestRoad::exec(const char* sql) {
    Statement statement;
    ASSERT_TRUE(statement.executeDirect(sql)) << sql;
    ASSERT_TRUE(statement.commit());
}

int NewTestRoad::number(const char* sql) {
    Statement statement;
    std::int32_t value = -1;
    EXPECT_TRUE(statement.executeDirect(sql)) << sql;
    statement.bindColumnInt(1, &value);
    EXPECT_EQ(statement.fetch(), Statement::Fetch::Row) << sql;
    statement.commit();
    return value;
}

std::string NewTestRoad::settingsFile() const {
    return settingsFilePath().string();
}
