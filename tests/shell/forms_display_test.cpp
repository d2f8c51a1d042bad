// SPDX-License-Identifier: Apache-2.0
// The forms as a user meets them on a desktop: a real X display with a window manager and a
// Swedish keymap (run-on-x-display). Keys, clicks and Alt+F4 go through the X server (xdotool),
// the clipboard is the X clipboard, and what the program did is read from the database and the
// screen.
#include "new_test_fixture.h"

#include "clock.h"
#include "close_question.h"
#include "db.h"
#include "file_dialog.h"
#include "instance_lock.h"
#include "login_backoff.h"
#include "login_dialog.h"
#include "message_capture.h"
#include "pdf_reader.h"
#include "person_list_state.h"
#include "personal_data_form.h"
#include "print_dialog.h"
#include "qt_dialogs.h"
#include "recording_dc.h"
#include "report_pages.h"
#include "report_pdf.h"
#include "results_screen.h"
#include "running_instance.h"
#include "shell_state.h"
#include "statement.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstring>

// Waits until the condition holds (letting the program handle its events), then checks it: the
// X server delivers what xdotool sent a little later.
#define WAIT_TRUE_FOR(condition, milliseconds)                                                     \
    do {                                                                                           \
        static_cast<void>(                                                                         \
            QTest::qWaitFor([&] { return static_cast<bool>(condition); }, milliseconds));          \
        ASSERT_TRUE(condition);                                                                    \
    } while (false)
#define WAIT_TRUE(condition) WAIT_TRUE_FOR(condition, 5000)
#define WAIT_EQ(actual, expected)                                                                  \
    do {                                                                                           \
        static_cast<void>(QTest::qWaitFor([&] { return (actual) == (expected); }, 5000));          \
        ASSERT_EQ(actual, expected);                                                               \
    } while (false)

namespace {

// Entries for every raw-score field, all valid.
const char* const kScores[] = {"40", "30", "20", "10", "6",  "8",  "5", "9",  "6",  "15", "30",
                               "12", "33", "14", "15", "70", "20", "5", "12", "20", "40", "13"};

class OnTheDesktop : public NewTestRoad {
  protected:
    // Runs xdotool and waits for it: its keys and clicks reach the program through the X server.
    static void xdo(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        ASSERT_TRUE(tool.waitForFinished(10000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }
    static void keys(const QString& sequence) { xdo({"key", "--delay", "30", sequence}); }
    // Types the text key by key by the keys' names, so that the letters of the Swedish keymap
    // (å, ä, ö) are its own keys and xdotool never remaps a key while the program reads.
    static void typeKeys(const QString& text) {
        QStringList arguments{"key", "--delay", "30"};
        for (const QChar c : text) {
            const char32_t code = c.unicode();
            switch (code) {
            case u' ':
                arguments << "space";
                break;
            case u'å':
                arguments << "aring";
                break;
            case u'ä':
                arguments << "adiaeresis";
                break;
            case u'ö':
                arguments << "odiaeresis";
                break;
            case u'Å':
                arguments << "Aring";
                break;
            case u'Ä':
                arguments << "Adiaeresis";
                break;
            case u'Ö':
                arguments << "Odiaeresis";
                break;
            default:
                arguments << QString(c);
            }
        }
        xdo(arguments);
    }
    static void click(QWidget* widget, QPoint at) {
        const QPoint global = widget->mapToGlobal(at);
        xdo({"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
    }
    // Waits until the X server has delivered what xdotool sent and the program handled it.
    static void settle() { QTest::qWait(150); }

    void typeScores() {
        for (int id = 0; id < static_cast<int>(std::size(kScores)); ++id) {
            type(rawField(id), kScores[id]);
        }
    }
    // The personal data typed with the given dates, then Alt+F.
    void continueWith(const char* testDate, const char* birthDate) {
        typePerson();
        type(field("testdatumField"), testDate);
        type(field("fodelsedatumField"), birthDate);
        press(Qt::Key_F, Qt::AltModifier);
    }
    std::string storedText(const char* sql) {
        Statement statement;
        char value[64] = {};
        EXPECT_TRUE(statement.executeDirect(sql)) << sql;
        statement.bindColumnText(1, value, sizeof value);
        EXPECT_EQ(statement.fetch(), Statement::Fetch::Row) << sql;
        statement.commit();
        return value;
    }
    std::vector<std::string> texts() { return environment_.messages().texts(); }
};

// ---- A refused login: the next typing is the new password ----

struct Refusal {
    const char* what;
    const char* userName;
    bool backOff; // three failures for the name just before
    std::string message;
};

TEST_F(OnTheDesktop, EveryRefusedLoginEmptiesThePasswordSoThatTheRightOneIsTaken) {
    const Refusal refusals[] = {
        {"wrong password", "psykolog", false, text(183)},
        {"unknown name", "okänd", false, text(182)},
        {"back-off", "psykolog", true,
         "För många felaktiga försök. Vänta 1 sekund innan du försöker igen."},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        loginBackoff() = LoginBackoff{};
        setFixedUtcMilliseconds(1'796'000'100'000);
        if (refusal.backOff) {
            for (int i = 0; i < 3; ++i) {
                loginBackoff().recordFailure(refusal.userName);
            }
        }
        LoginDialog dialog(window_, window_->controlFont());
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* user = dialog.findChild<QLineEdit*>("userNameEdit_1002");
        auto* password = dialog.findChild<QLineEdit*>("passwordEdit_1003");
        environment_.messages().clear();
        click(user, QPoint(10, 10));
        WAIT_EQ(QApplication::focusWidget(), user);
        typeKeys(QString::fromUtf8(refusal.userName));
        keys("Tab");
        typeKeys(refusal.backOff ? "demo123" : "fel1234");
        keys("Return");
        WAIT_EQ(texts(), std::vector<std::string>{refusal.message});
        EXPECT_EQ(password->text(), "");
        if (std::strcmp(refusal.userName, "okänd") == 0) {
            // The name was wrong: it is selected, so the right one replaces it.
            EXPECT_EQ(QApplication::focusWidget(), user);
            EXPECT_EQ(user->selectedText(), QString::fromUtf8("okänd"));
            typeKeys("psykolog");
            keys("Tab");
        } else {
            EXPECT_EQ(QApplication::focusWidget(), password);
        }
        setFixedUtcMilliseconds(1'796'000'200'000); // any wait is over
        typeKeys("demo123");
        WAIT_EQ(password->text(), "demo123");
        keys("Return");
        WAIT_EQ(dialog.result(), 1);
        EXPECT_EQ(user->text(), "psykolog");
    }
    clearFixedUtcMilliseconds();
    loginBackoff() = LoginBackoff{};
}

// ---- Dates that cannot be ----

TEST_F(OnTheDesktop, ABirthAfterTheTestIsRefusedAndAFutureTestDateIsAskedAbout) {
    setFixedToday(DateValue{2026, 12, 7});
    beginNewTest();
    continueWith("20301207", "20311231");
    EXPECT_EQ(texts(), std::vector<std::string>{kBirthAfterTestText});
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_EQ(focused(), field("fodelsedatumField"));

    // A test date after today is asked about, No being the default.
    environment_.messages().clear();
    type(field("fodelsedatumField"), "19800101");
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(texts(), std::vector<std::string>{kFutureTestDateQuestion});
    EXPECT_EQ(environment_.messages().requests()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(environment_.messages().requests()[0].defaultButton, MessageDefault::Second);
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_EQ(focused(), field("testdatumField"));
    {
        MessageCapture yes(AnswerYes);
        press(Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(yes.texts(), std::vector<std::string>{kFutureTestDateQuestion});
    }
    EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    EXPECT_EQ(number("SELECT COUNT(*) FROM TESTPERSON"), 0);
}

// The program's own message boxes, shown for real: each is photographed into the screenshot
// folder and answered with its default button (Enter), and the answers are recorded.
class RealMessageBoxes {
  public:
    explicit RealMessageBoxes(std::vector<const char*> screenshots)
        : screenshots_(std::move(screenshots)), previous_(setMessageBoxHandler({})) {
        installQtDialogHandlers();
        const MessageBoxHandler shown = setMessageBoxHandler({});
        setMessageBoxHandler([this, shown](const MessageRequest& request) {
            texts.push_back(request.text);
            QTimer::singleShot(20, [this] { answerWhenShown(); });
            return shown(request);
        });
    }
    ~RealMessageBoxes() {
        setMessageBoxHandler(previous_);
        setSaveFileHandler({});
    }
    RealMessageBoxes(const RealMessageBoxes&) = delete;
    RealMessageBoxes& operator=(const RealMessageBoxes&) = delete;

    std::vector<std::string> texts;
    std::vector<std::string> defaults;

  private:
    // Runs inside the box's own loop: waits until the box is on the screen, then photographs it
    // and presses Enter on it.
    void answerWhenShown() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            QTimer::singleShot(20, [this] { answerWhenShown(); });
            return;
        }
        const QAbstractButton* no = box->button(QMessageBox::No);
        defaults.push_back(no != nullptr && box->defaultButton() == no ? "Nej" : "OK");
        if (shots_ < screenshots_.size()) {
            saveScreenshot(*box, screenshots_[shots_++]);
        }
        QTest::keyClick(box, Qt::Key_Return);
        if (box->isVisible()) { // Enter did not answer it: never leave the test hanging
            enterIgnored = true;
            box->reject();
        }
    }

  public:
    bool enterIgnored = false;

  private:
    std::vector<const char*> screenshots_;
    std::size_t shots_ = 0;
    MessageBoxHandler previous_;
};

TEST_F(OnTheDesktop, TheNewQuestionsAsTheUserSeesThemDefaultToNo) {
    setFixedToday(DateValue{2026, 12, 7});
    beginNewTest();
    RealMessageBoxes boxes(
        {"birth_after_test.png", "future_test_date_question.png", "close_unsaved_question.png"});
    continueWith("20301207", "20311231");
    type(field("fodelsedatumField"), "19800101");
    // Alt+F is an accelerator of the active window: the window manager gives the activation
    // back from the closed box a little later.
    WAIT_TRUE(window_->isActiveWindow());
    press(Qt::Key_F, Qt::AltModifier);
    // The close box (Alt+F4 itself is replayed by the tests below).
    window_->close();
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{kBirthAfterTestText, kFutureTestDateQuestion,
                                                     kCloseUnsavedQuestion}));
    EXPECT_EQ(boxes.defaults, (std::vector<std::string>{"OK", "Nej", "Nej"}));
    EXPECT_FALSE(boxes.enterIgnored);
    settle();
    ASSERT_TRUE(window_ && window_->isVisible());
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_EQ(field("testdatumField")->text(), "20301207");
}

// ---- Standard editing keys and paste ----

TEST_F(OnTheDesktop, AClickOrCtrlAOnAFullDateLetsTheTypingReplaceIt) {
    setFixedToday(DateValue{2026, 12, 7});
    beginNewTest();
    typePerson();
    QLineEdit* testDate = field("testdatumField");
    type(testDate, "20301207");
    field("namnField")->setFocus();
    click(testDate, QPoint(20, 12));
    WAIT_EQ(testDate->selectedText(), "20301207");
    typeKeys("20261207");
    WAIT_EQ(testDate->text(), "20261207");

    // Ctrl+A and Ctrl+C in the date, Ctrl+A and Ctrl+V in the date of birth.
    keys("ctrl+a");
    keys("ctrl+c");
    WAIT_EQ(QGuiApplication::clipboard()->text(), "20261207");
    click(field("fodelsedatumField"), QPoint(20, 12));
    keys("ctrl+a");
    keys("ctrl+v");
    WAIT_EQ(field("fodelsedatumField")->text(), "20261207");
    keys("ctrl+z");
    WAIT_EQ(field("fodelsedatumField")->text(), "19800101");
    EXPECT_EQ(beeps_, 0);

    // The date that reaches the database is the one typed last.
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES) << testing::PrintToString(texts());
    typeScores();
    press(Qt::Key_V, Qt::AltModifier);
    ASSERT_EQ(results_->builds, 1) << testing::PrintToString(texts());
    EXPECT_EQ(storedText("SELECT TESTDATE FROM TESTPERSON"), "2026-12-07");
}

struct PasteCase {
    const char* field;
    const char* before;
    bool selected; // the text before is selected, else the caret stands at its end
    const char* clipboard;
    const char* after;
    int beeps;
};

TEST_F(OnTheDesktop, PastedTextGoesThroughTheFieldsOwnRules) {
    const PasteCase cases[] = {
        {"testdatumField", "", false, "2026-12-07\n", "20261207", 1}, // dashes, line end dropped
        {"testdatumField", "", false, "202612070", "", 1},            // too long: refused whole
        {"testdatumField", "2026", false, "1207", "20261207", 0},     // appended where it fits
        {"testdatumField", "2026", false, "12070", "2026", 1},        // would not fit
        {"fodelsedatumField", "19800101", true, "19790202", "19790202", 0}, // replaces selection
        {"konField", "", false, "k", "K", 0},
        {"konField", "", false, "x", "", 1},
        {"hanthetField", "", false, "Ö", "", 1},
        {"namnField", "", false, "Åsa Öberg", "Åsa Öberg", 0},
    };
    beginNewTest();
    for (const PasteCase& paste : cases) {
        SCOPED_TRACE(std::string(paste.field) + " <- " + paste.clipboard);
        QLineEdit* target = field(paste.field);
        target->setText(QString::fromUtf8(paste.before));
        target->setFocus();
        if (paste.selected) {
            target->selectAll();
        } else {
            target->end(false);
        }
        QGuiApplication::clipboard()->setText(QString::fromUtf8(paste.clipboard));
        beeps_ = 0;
        keys("ctrl+v");
        settle();
        EXPECT_EQ(target->text(), QString::fromUtf8(paste.after));
        EXPECT_EQ(beeps_, paste.beeps);
    }
    // Raw scores: Ctrl+A passes the letter filter of the first fields, and the paste is
    // filtered the same way as the keys.
    type(field("namnField"), "Anna Berg");
    typePerson();
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    type(rawField(0), "40");
    rawField(0)->deselect();
    beeps_ = 0;
    keys("ctrl+a");
    WAIT_EQ(rawField(0)->selectedText(), "40");
    QGuiApplication::clipboard()->setText("x9");
    keys("ctrl+v");
    WAIT_EQ(rawField(0)->text(), "9");
    EXPECT_EQ(beeps_, 1);
}

// ---- Closing the window with unsaved typing ----

TEST_F(OnTheDesktop, AltF4OnAFormWithUnsavedTypingAsksAndNoKeepsEverything) {
    press(Qt::Key_N, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    typeKeys(QString::fromUtf8("Åsa Öberg"));
    WAIT_EQ(field("namnField")->text(), QString::fromUtf8("Åsa Öberg"));
    keys("alt+F4");
    WAIT_EQ(texts(), std::vector<std::string>{kCloseUnsavedQuestion});
    EXPECT_EQ(environment_.messages().requests()[0].defaultButton, MessageDefault::Second);
    settle();
    ASSERT_TRUE(window_ && window_->isVisible());
    EXPECT_EQ(field("namnField")->text(), QString::fromUtf8("Åsa Öberg"));

    // "&Avbryt" and Alt+A ask as Esc does.
    environment_.messages().clear();
    QTest::mouseClick(window_->sharedButton(90), Qt::LeftButton);
    press(Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(texts().size(), 2u);
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_EQ(field("namnField")->text(), QString::fromUtf8("Åsa Öberg"));

    // On the raw-score form of a new test the person is still unsaved.
    environment_.messages().clear();
    typePerson();
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    keys("alt+F4");
    WAIT_EQ(texts(), std::vector<std::string>{kCloseUnsavedQuestion});
    settle();
    ASSERT_TRUE(window_ && window_->isVisible());

    // Yes ends the program.
    MessageCapture yes(AnswerYes);
    keys("alt+F4");
    WAIT_TRUE(window_.isNull() || !window_->isVisible());
    EXPECT_EQ(yes.texts(), std::vector<std::string>{kCloseUnsavedQuestion});
}

TEST_F(OnTheDesktop, ARawScoreChangeAsksOnlyWhenAScoreWasChanged) {
    openRawScoreForm();
    typeScores();
    press(Qt::Key_V, Qt::AltModifier);
    ASSERT_EQ(results_->builds, 1);
    // "Ä&ndra råpoäng": the saved scores in the form.
    rawScoreMode() = 1;
    window_->showScreen(SCREEN_RAW_SCORES);
    type(rawField(0), "39");
    environment_.messages().clear();
    keys("alt+F4");
    WAIT_EQ(texts(), std::vector<std::string>{kCloseUnsavedQuestion});
    settle();
    ASSERT_TRUE(window_ && window_->isVisible());
    EXPECT_EQ(number("SELECT COUNT(*) FROM TESTDATA"), 1);

    // The score typed back as it was: nothing is unsaved, the window closes at once.
    type(rawField(0), "40");
    environment_.messages().clear();
    keys("alt+F4");
    WAIT_TRUE(window_.isNull() || !window_->isVisible());
    EXPECT_TRUE(texts().empty());
}

TEST_F(OnTheDesktop, TheCloseBoxOfAnUntouchedFormClosesAtOnce) {
    beginNewTest();
    keys("alt+F4");
    WAIT_TRUE(window_.isNull() || !window_->isVisible());
    EXPECT_TRUE(texts().empty());
}

// ---- An age outside the norms ----

TEST_F(OnTheDesktop, AnAgeBelowTheNormsIsNotedBesideTheNormGroupOnScreenAndInThePdf) {
    window_->setScreen(SCREEN_RESULTS, std::make_unique<ResultsScreen>(*window_));
    beginNewTest();
    {
        MessageCapture yes(AnswerYes);
        continueWith("20240315", "20090409"); // 14.11.6
        EXPECT_EQ(yes.texts(), std::vector<std::string>{text(650)});
    }
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    typeScores();
    environment_.messages().clear();
    press(Qt::Key_V, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RESULTS);
    const std::string note = "Teståldern 14 år ligger utanför normernas 16-90 år; jämförd med "
                             "16-17 år";
    EXPECT_EQ(texts(), std::vector<std::string>{"Testpersonen Anna Berg (ID 1): " + note + "."});
    EXPECT_EQ(storedText("SELECT BORNDATE FROM TESTPERSON"), "2009-04-09");
    EXPECT_STREQ(testOccasion().ageBand, "16-17 år");

    // The report page says so right below the norm group.
    RecordingDc dc;
    ab_paint_resultat(dc, 0, 50, 600, 0);
    int normGroupY = -1;
    int noteY = -1;
    QString page;
    for (const RecordingDc::Text& drawn : dc.texts()) {
        if (drawn.text.rfind(text(200) + ":", 0) == 0) {
            normGroupY = drawn.y;
        }
        if (noteY < 0 && drawn.text.rfind("Teståldern 14 år", 0) == 0) {
            noteY = drawn.y;
        }
        page += QString::fromStdString(drawn.text) + ' ';
    }
    EXPECT_TRUE(page.simplified().contains(QString::fromStdString(note)));
    ASSERT_GE(normGroupY, 0);
    ASSERT_GT(noteY, normGroupY);
    EXPECT_LT(noteY - normGroupY, 40);
    saveScreenshot(*window_, "results_age_outside_norms.png");

    const std::string pdf = (environment_.dir().path() / "rapport.pdf").string();
    std::string error;
    ASSERT_TRUE(writeReportPdf(pdf, error)) << error;
    QString printed = QString::fromStdString(pdfPageText(pdf, 1));
    printed.replace('\n', ' ');
    EXPECT_TRUE(printed.simplified().contains(QString::fromStdString(note)))
        << printed.toStdString();
}

// ---- The earlier-tests list keeps what is selected ----

class EarlierTestsOnTheDesktop : public OnTheDesktop {
  protected:
    void addPersons() {
        for (const char* name : {"Cecilia", "Adam", "Bertil"}) {
            PersonRecord person{};
            std::strcpy(person.NAMN, name);
            std::strcpy(person.TESTLEDARE, "Eva Lund");
            person.SEX = 2;
            person.TESTDATE = DateValue{2024, 3, 1};
            person.BORNDATE = DateValue{1980, 1, 1};
            person.ID = ++nextId_;
            ASSERT_EQ(DoInsertPD(person), DB_DONE);
        }
    }
    void openList() {
        personListState() = PersonListState{};
        press(Qt::Key_T, Qt::AltModifier);
        ASSERT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
        list_ = window_->findChild<QTreeView*>("personList_1000");
        ASSERT_NE(list_, nullptr);
    }
    QStringList selectedNames() const {
        QStringList names;
        for (const QModelIndex& row : list_->selectionModel()->selectedRows()) {
            names << row.data().toString();
        }
        return names;
    }
    QString currentName() const {
        return list_->currentIndex().isValid()
                   ? list_->currentIndex().siblingAtColumn(0).data().toString()
                   : QString();
    }
    void clickRow(int row) {
        const QRect place = list_->visualRect(list_->model()->index(row, 0));
        click(list_->viewport(), place.center());
        settle();
    }
    int nextId_ = 0;
    QTreeView* list_ = nullptr;
};

TEST_F(EarlierTestsOnTheDesktop, ASortKeepsTheSelectedPersonAndDownMovesFromThere) {
    addPersons();
    openList();
    // Newest first: Bertil, Adam, Cecilia; Adam is clicked.
    clickRow(1);
    ASSERT_EQ(selectedNames(), QStringList{"Adam"});
    click(list_->header()->viewport(), QPoint(list_->header()->sectionViewportPosition(0) + 20, 5));
    WAIT_EQ(list_->model()->index(0, 0).data().toString(), "Adam"); // by name, ascending
    EXPECT_EQ(selectedNames(), QStringList{"Adam"});
    EXPECT_EQ(currentName(), "Adam");
    keys("Down");
    WAIT_EQ(selectedNames(), QStringList{"Bertil"});
    keys("Return");
    WAIT_EQ(results_->builds, 1);
    EXPECT_STREQ(testOccasion().person.NAMN, "Bertil");
}

TEST_F(EarlierTestsOnTheDesktop, ASortWithNothingSelectedSelectsTheFirstRow) {
    addPersons();
    openList();
    {
        MessageCapture yes(AnswerYes);
        press(Qt::Key_O, Qt::AltModifier); // deletes Bertil, the remembered first row
    }
    ASSERT_TRUE(selectedNames().isEmpty());
    keys("ctrl+3"); // by test date, then by the list's own order
    settle();
    ASSERT_EQ(list_->model()->rowCount(), 2);
    const QString first = list_->model()->index(0, 0).data().toString();
    const QString second = list_->model()->index(1, 0).data().toString();
    EXPECT_EQ(selectedNames(), QStringList{first});
    EXPECT_EQ(currentName(), first);
    keys("Down");
    WAIT_EQ(selectedNames(), QStringList{second});
    keys("Return");
    WAIT_EQ(results_->builds, 1);
    EXPECT_EQ(QString::fromUtf8(testOccasion().person.NAMN), second);
}

// ---- A second start ----

TEST_F(OnTheDesktop, ASecondStartBringsTheRunningWindowForward) {
    InstanceLock running;
    ASSERT_EQ(running.acquire("RIVO-IV"), InstanceLock::Result::Acquired);
    ShowRequestListener listener("RIVO-IV", [this] { bringToFront(*window_); });
    ASSERT_TRUE(listener.listening());
    window_->showMinimized();
    WAIT_TRUE(window_->isMinimized());

    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(environment_.dir().path().string()));
    second.start(RIVO_IV_PATH, {});
    ASSERT_TRUE(second.waitForStarted(10000));
    WAIT_TRUE_FOR(second.state() == QProcess::NotRunning, 20000);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardError().toStdString(),
              "RIVO-IV körs redan; det öppna fönstret har tagits fram.\n");
    WAIT_TRUE(!window_->isMinimized());
    WAIT_TRUE(window_->isActiveWindow());
}

// ---- Printing to a file: the first Enter in the file name prints ----

TEST_F(OnTheDesktop, EnterInThePrintFileNamePrintsAtOnceBesideFilesOfTheSameBeginning) {
    const QString folder = QString::fromStdString(environment_.dir().file("utskrifter").string());
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* existing : {"rapport-1.pdf", "rapport-2.pdf"}) {
        QFile file(folder + "/" + existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder + "/rapport-3.pdf");
    bool stillOpenAfterEnter = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = nullptr;
        WAIT_TRUE((dialog = QApplication::activeModalWidget()) != nullptr);
        auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
        ASSERT_NE(fileName, nullptr);
        WAIT_TRUE(fileName->isVisible());
        fileName->setFocus();
        fileName->clear();
        WAIT_EQ(QApplication::focusWidget(), fileName);
        // The path typed as a user types it, folder by folder, while the dialog goes on handling
        // events; the name begins like the files already there.
        QProcess typing;
        typing.start(QStringLiteral("xdotool"), {"type", "--delay", "60", folder + "/rapport"});
        WAIT_TRUE_FOR(typing.state() == QProcess::NotRunning, 20000);
        QTest::qWait(500); // long enough for a completion list to read the folder and open
        keys("Return");
        stillOpenAfterEnter = !QTest::qWaitFor([&] { return !dialog->isVisible(); }, 3000);
        if (stillOpenAfterEnter) {
            static_cast<QDialog*>(dialog)->reject();
        }
    });
    const bool printed = askPrintSettings(printer, window_);
    EXPECT_FALSE(stillOpenAfterEnter);
    EXPECT_TRUE(printed);
    EXPECT_EQ(QFileInfo(printer.outputFileName()).fileName().toStdString(), "rapport");
}

} // namespace
