// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "backup_dialog.h"
#include "child_run.h"
#include "database_backup.h"
#include "database_fixture.h"
#include "demo_norm_tables.h"
#include "earlier_tests_screen.h"
#include "export_dialog.h"
#include "file_dialog.h"
#include "main_window.h"
#include "person_list_state.h"
#include "program.h"
#include "screen_ids.h"
#include "screen_size.h"
#include "shell_state.h"
#include "statement.h"
#include "text_table.h"
#include "transaction.h"
#include "working_directory.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

QString qs(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Stands in for the results screen: records that it was opened.
class ResultsProbe : public Screen {
  public:
    void build() override { ++builds; }
    void paint(Dc&) override {}
    void command(int) override {}
    int builds = 0;
};

struct Person {
    const char* name;
    const char* leader = "Testledare";
    int sex = 2;
    bool withScores = true;
    int raw = 5;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The answer of one query on a database file opened on its own, each row's columns joined by
// "|" and the rows by newlines.
std::string query(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    std::string result;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return "cannot open";
    }
    sqlite3_exec(
        db, sql,
        [](void* out, int columns, char** values, char**) {
            auto* text = static_cast<std::string*>(out);
            for (int i = 0; i < columns; ++i) {
                *text += (i > 0 ? "|" : "") + std::string(values[i] ? values[i] : "NULL");
            }
            *text += "\n";
            return 0;
        },
        &result, nullptr);
    sqlite3_close(db);
    return result;
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// File permissions do not hold back root: while the object lives, the process acts on files as
// an ordinary user.
class ActAsOrdinaryUser {
  public:
    ActAsOrdinaryUser() : wasRoot_(::geteuid() == 0) {
        if (wasRoot_) {
            EXPECT_EQ(::seteuid(65534), 0);
        }
    }
    ~ActAsOrdinaryUser() {
        if (wasRoot_) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    ActAsOrdinaryUser(const ActAsOrdinaryUser&) = delete;
    ActAsOrdinaryUser& operator=(const ActAsOrdinaryUser&) = delete;

  private:
    bool wasRoot_;
};

// The main window with the program's screens on a fresh database in its own working directory,
// showing the earlier-tests screen as the start screen's "&Tidigare test" opens it.
class EarlierTests : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        workingDirectory_ = std::make_unique<WorkingDirectory>(dir_.path());
        const ScreenSize screen = screenSize();
        screenWidth() = screen.width;
        screenHeight() = screen.height;
        personListState() = PersonListState{};
        currentScreen() = SCREEN_START;
        resetTestOccasion();
        // A plain copy unless a test drives the backup dialog itself.
        setBackupChoiceHandler(
            [](QWidget*) { return std::optional<BackupChoice>(BackupChoice{}); });
        window_ = new MainWindow;
        window_->createSharedFonts();
        window_->createSharedButtons();
        registerScreens(*window_);
        window_->loadAccelerators();
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    }
    void TearDown() override {
        delete window_.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setSaveFileHandler({});
        setBackupChoiceHandler({});
        workingDirectory_.reset();
        DatabaseTest::TearDown();
    }

    std::int32_t add(const Person& person) {
        TestOccasion stored{};
        stored.person = samplePerson(person.name);
        std::strcpy(stored.person.TESTLEDARE, person.leader);
        stored.person.SEX = person.sex;
        EXPECT_EQ(DoInsertPD(stored.person), DB_DONE);
        if (person.withScores) {
            for (std::int32_t& raw : stored.RawScores) {
                raw = person.raw;
            }
            EXPECT_EQ(DoInsertTD(stored), DB_DONE);
        }
        return stored.person.ID;
    }
    void open() {
        window_->showScreen(SCREEN_START);
        QTest::mouseClick(window_->sharedButton(92), Qt::LeftButton);
        ASSERT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
        messages_.clear();
    }
    ResultsProbe* addResultsProbe() {
        auto probe = std::make_unique<ResultsProbe>();
        ResultsProbe* raw = probe.get();
        window_->setScreen(SCREEN_RESULTS, std::move(probe));
        return raw;
    }

    QTreeView* list() { return window_->findChild<QTreeView*>("personList_1000"); }
    int rows() { return list()->model()->rowCount(); }
    QString cell(int row, int index, int role = Qt::DisplayRole) {
        return list()->model()->index(row, index).data(role).toString();
    }
    bool isSelected(int row) { return list()->selectionModel()->isRowSelected(row); }
    QStringList column(int index) {
        QStringList texts;
        for (int i = 0; i < rows(); ++i) {
            texts << cell(i, index);
        }
        return texts;
    }
    void clickHeader(int index) {
        QHeaderView* header = list()->header();
        const QPoint at(header->sectionViewportPosition(index) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void select(int row) {
        list()->selectionModel()->setCurrentIndex(list()->model()->index(row, 0),
                                                  QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    }
    void press(int id) { QTest::mouseClick(window_->sharedButton(id), Qt::LeftButton); }
    int count(const char* table) {
        Statement statement;
        std::int32_t rows = -1;
        EXPECT_TRUE(
            statement.executeDirect((std::string("SELECT COUNT(*) FROM ") + table).c_str()));
        statement.bindColumnInt(1, &rows);
        statement.fetch();
        statement.closeCursor();
        statement.commit();
        return rows;
    }
    QWidget* focused() { return QApplication::focusWidget(); }

    std::unique_ptr<WorkingDirectory> workingDirectory_;
    QPointer<MainWindow> window_;
};

TEST_F(EarlierTests, EmptyDatabaseShowsAnEmptyListAndCommandsAskForAPerson) {
    open();
    ASSERT_NE(list(), nullptr);
    EXPECT_EQ(rows(), 0);
    press(91);
    QTest::keyClick(window_, Qt::Key_V, Qt::AltModifier);
    press(93);
    QTest::keyClick(window_, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(messages_.texts(), std::vector<std::string>(4, text(11)));
    EXPECT_EQ(messages_.requests()[0].caption, "RIVO-IV");
    EXPECT_EQ(messages_.requests()[0].owner, nullptr); // the main window
    EXPECT_EQ(focused(), list());
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
}

TEST_F(EarlierTests, ListColumnsButtonsAndCells) {
    add({"Anna Berg", "Åsa Öberg", 1});
    add({"Per Ek", "Bo", 2});
    add({"Okänd Kön", "Bo", 0, false});
    exec("UPDATE TESTPERSON SET OTHER = NULL, TESTDATE = '2010-03-07' WHERE ID = 3");
    open();

    QTreeView* people = list();
    EXPECT_EQ(people->geometry(), QRect(20, 100, 754, 370));
    EXPECT_EQ(people->font(), window_->listFont());
    EXPECT_EQ(people->selectionMode(), QAbstractItemView::SingleSelection);
    const char* headers[] = {"Namn",         "Testledare", "Testdatum",    "Övrigt",  "Kön",
                             "Födelsedatum", "Utbildning", "Nationalitet", "Hemspråk"};
    const int widths[] = {250, 100, 100, 200, 70, 100, 200, 200, 200};
    ASSERT_EQ(people->model()->columnCount(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(people->model()->headerData(i, Qt::Horizontal).toString(), qs(headers[i])) << i;
        EXPECT_EQ(people->columnWidth(i), widths[i]) << i;
    }
    // Newest first; the first row is selected.
    EXPECT_EQ(column(0), (QStringList{qs("Okänd Kön"), "Per Ek", "Anna Berg"}));
    EXPECT_TRUE(isSelected(0));
    EXPECT_EQ(cell(0, 0, Qt::UserRole).toInt(), 3);
    const int anna = 2;
    EXPECT_EQ(cell(anna, 1), qs("Åsa Öberg"));
    EXPECT_EQ(cell(anna, 2), "2010-06-01");
    EXPECT_EQ(cell(anna, 3), qs("Övrigt: inga"));
    EXPECT_EQ(cell(anna, 5), "1950-05-31");
    EXPECT_EQ(cell(anna, 6), "Gymnasium");
    EXPECT_EQ(cell(anna, 7), "Svensk");
    EXPECT_EQ(cell(anna, 8), "Svenska");
    EXPECT_EQ(column(4), (QStringList{"", "Kvinna", "Man"}));
    EXPECT_EQ(cell(0, 3), ""); // no remark stored
    EXPECT_EQ(cell(0, 2), "2010-03-07");

    struct Expected {
        int id;
        unsigned short caption;
        int x;
    };
    for (const Expected& button :
         {Expected{90, 1, 20}, {91, 2, 140}, {93, 4, 260}, {92, 3, 380}, {94, 5, 500}}) {
        QPushButton* shared = window_->sharedButton(button.id);
        EXPECT_TRUE(shared->isVisible()) << button.id;
        EXPECT_EQ(shared->text(), QString::fromStdString(text(button.caption))) << button.id;
        EXPECT_EQ(shared->geometry(), QRect(button.x, 515, 110, 40)) << button.id;
    }
    EXPECT_EQ(focused(), people);
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("RIVO-IV – Tidigare test"));
}

TEST_F(EarlierTests, HeaderClicksFlipTheDirectionAndSortSwedishNamesInSwedishOrder) {
    const char* names[] = {"Åsa", "Ärla", "Örjan", "Zara", "ädel", "Anna"};
    const char* leaders[] = {"Östen", "åke", "Bo", "Ärlig", "Adam", "Ödman"};
    for (int i = 0; i < 6; ++i) {
        add({names[i], leaders[i], i % 2 + 1});
    }
    open();
    EXPECT_EQ(column(0), (QStringList{"Anna", qs("ädel"), "Zara", qs("Örjan"), qs("Ärla"),
                                      qs("Åsa")})); // ID descending
    clickHeader(0);
    EXPECT_EQ(column(0),
              (QStringList{"Anna", "Zara", qs("Åsa"), qs("ädel"), qs("Ärla"), qs("Örjan")}));
    EXPECT_EQ(personListState().sortColumn, 0);
    EXPECT_EQ(personListState().descending, 0);
    clickHeader(0);
    EXPECT_EQ(column(0),
              (QStringList{qs("Örjan"), qs("Ärla"), qs("ädel"), qs("Åsa"), "Zara", "Anna"}));
    clickHeader(1);
    EXPECT_EQ(column(1),
              (QStringList{"Adam", "Bo", qs("åke"), qs("Ärlig"), qs("Ödman"), qs("Östen")}));
    clickHeader(4); // by the stored number, descending now: women (2) before men (1)
    EXPECT_EQ(column(4), (QStringList{"Kvinna", "Kvinna", "Kvinna", "Man", "Man", "Man"}));
    clickHeader(4);
    EXPECT_EQ(column(4), (QStringList{"Man", "Man", "Man", "Kvinna", "Kvinna", "Kvinna"}));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(EarlierTests, DeleteAnsweredNoChangesNothingButLoadsThePerson) {
    add({"Lars"});
    const std::int32_t id = add({"Klas"});
    open();
    select(0);
    MessageCapture answers(AnswerNo);
    press(93);
    ASSERT_EQ(answers.requests().size(), 1u);
    const MessageRequest& question = answers.requests()[0];
    EXPECT_EQ(question.text,
              "Vill du verkligen ta bort Klass testresultat ur databasen? Ändringen är definitiv.");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.defaultButton, MessageDefault::Second);
    EXPECT_EQ(question.icon, MessageIcon::Error);
    EXPECT_EQ(count("TESTPERSON"), 2);
    EXPECT_EQ(count("TESTDATA"), 2);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(testOccasion().person.ID, id);
    EXPECT_EQ(focused(), list());
}

TEST_F(EarlierTests, DeleteAnsweredYesRemovesBothRowsAndThenTheListRow) {
    add({"Lars"});
    add({"Klas"});
    open();
    select(1);
    {
        MessageCapture answers(AnswerYes);
        QTest::keyClick(window_, Qt::Key_L, Qt::AltModifier);
        EXPECT_EQ(answers.texts(),
                  (std::vector<std::string>{
                      "Vill du verkligen ta bort Larss testresultat ur databasen? Ändringen är "
                      "definitiv.",
                      "Data över testperson Lars är borttaget ur databasen."}));
    }
    EXPECT_EQ(count("TESTPERSON"), 1);
    EXPECT_EQ(count("TESTDATA"), 1);
    EXPECT_EQ(column(0), QStringList{"Klas"});
    EXPECT_EQ(testOccasion().person.ID, 0); // cleared
    EXPECT_EQ(testOccasion().RawScores[0], NOT_ADMINISTERED);
    EXPECT_EQ(personListState().rememberedRow, 1);
    EXPECT_EQ(focused(), list());
    // Nobody is selected in the deleted person's place: a hurried second Alt+O deletes nothing.
    EXPECT_FALSE(list()->selectionModel()->hasSelection());
    MessageCapture again(AnswerYes);
    QTest::keyClick(window_, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(again.texts(), std::vector<std::string>{"Ingen testperson är vald ur listan."});
    EXPECT_EQ(count("TESTPERSON"), 1);
}

TEST_F(EarlierTests, DeleteWhoseRawScoreDeleteFailsLeavesBothRowsAndTheList) {
    add({"Lars"});
    add({"Klas"});
    refuseWrites("keep_scores", "DELETE", "TESTDATA", "TESTDATA kan inte tas bort");
    open();
    select(0);
    MessageCapture answers(AnswerYes);
    press(93);
    ASSERT_EQ(answers.texts().size(), 2u);
    EXPECT_NE(answers.texts()[1].find("TESTDATA kan inte tas bort"), std::string::npos);
    EXPECT_EQ(count("TESTPERSON"), 2);
    EXPECT_EQ(count("TESTDATA"), 2);
    EXPECT_EQ(column(0), (QStringList{"Klas", "Lars"}));
}

// A stored ID too large for 32 bits is named in the list and never opened or deleted as the
// person its low 32 bits would name (4294967296 is 2^32: person 0).
TEST_F(EarlierTests, AnIdTooLargeIsNamedAndNeverActedOnAsAnotherPerson) {
    SKIP_ON_SERVER("the server's INTEGER column refuses an ID that does not fit 32 bits");
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (0, 'Noll')");
    exec("INSERT INTO TESTPERSON (ID, NAMN) VALUES (4294967296, 'Stort')");
    open();
    const QStringList names = column(0);
    ASSERT_TRUE(names.contains(QString::fromUtf8("Stort (ID 4294967296 kan inte läsas)")))
        << names.join(", ").toStdString();
    select(
        static_cast<int>(names.indexOf(QString::fromUtf8("Stort (ID 4294967296 kan inte läsas)"))));
    MessageCapture answers(AnswerYes);
    press(93);
    ASSERT_EQ(answers.texts().size(), 1u);
    EXPECT_EQ(answers.texts()[0].rfind("ID 4294967296 ryms inte", 0), 0u) << answers.texts()[0];
    EXPECT_EQ(count("TESTPERSON"), 2);
    EXPECT_EQ(testOccasion().person.NAMN[0], '\0');
}

// The keys move over every row of a list longer than the pages the list reads at a time, and
// the rows they reach are shown with their own persons.
TEST_F(EarlierTests, EndHomeAndPageKeysReachEveryRowWithItsPerson) {
    const int persons = 250;
    {
        Transaction transaction;
        for (int i = 1; i <= persons; ++i) {
            PersonRecord person = samplePerson(("Person " + std::to_string(i)).c_str());
            ASSERT_EQ(DoInsertPD(person), DB_DONE);
        }
        ASSERT_TRUE(transaction.commit());
    }
    open();
    const struct {
        Qt::Key key;
        int row;
    } moves[] = {{Qt::Key_End, persons - 1}, {Qt::Key_PageUp, -1}, {Qt::Key_Home, 0},
                 {Qt::Key_PageDown, -1},     {Qt::Key_Down, -1},   {Qt::Key_End, persons - 1}};
    int before = 0;
    for (const auto& move : moves) {
        QTest::keyClick(list(), move.key);
        const int row = list()->currentIndex().row();
        if (move.row >= 0) {
            EXPECT_EQ(row, move.row) << move.key;
        } else {
            EXPECT_NE(row, before) << move.key; // a page or a row away
        }
        EXPECT_TRUE(isSelected(row)) << move.key;
        EXPECT_TRUE(list()->viewport()->rect().contains(
            list()->visualRect(list()->model()->index(row, 0)).center()))
            << move.key;
        // Newest first: row r is person persons - r.
        EXPECT_EQ(cell(row, 0), QString("Person %1").arg(persons - row)) << move.key;
        before = row;
    }
    EXPECT_EQ(cell(persons - 1, 0), "Person 1");
    EXPECT_TRUE(messages_.texts().empty());

    // A screen reader finds a table of every person with the column headers.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->text(QAccessible::Name), "Testpersoner");
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->rowCount(), persons);
    EXPECT_EQ(table->tableInterface()->columnCount(), 9);
    EXPECT_EQ(table->tableInterface()->columnDescription(0), "Namn");
}

// A person another workstation deleted after the list was read: opening or deleting the row
// reports that the person is not there, and nothing else happens.
TEST_F(EarlierTests, APersonDeletedElsewhereIsNeitherOpenedNorDeleted) {
    ResultsProbe* results = addResultsProbe();
    add({"Lars"});
    const std::int32_t gone = add({"Klas"});
    open();
    exec("DELETE FROM TESTDATA WHERE PERSONALDATA_ID = " + std::to_string(gone));
    exec("DELETE FROM TESTPERSON WHERE ID = " + std::to_string(gone));
    select(0);
    MessageCapture answers(AnswerYes);
    press(91);
    press(93);
    const std::string missing = "Testpersonen med ID " + std::to_string(gone) +
                                " finns inte i registret. Den kan ha tagits bort från en annan "
                                "arbetsstation.";
    ASSERT_EQ(answers.texts().size(), 2u);
    EXPECT_EQ(answers.texts()[0], missing);
    EXPECT_EQ(answers.texts()[1], missing);
    EXPECT_EQ(results->builds, 0);
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
    EXPECT_EQ(count("TESTPERSON"), 1);
    EXPECT_EQ(rows(), 2);
}

TEST_F(EarlierTests, ShowResultsLoadsThePersonAndComesBackToTheRememberedRow) {
    ResultsProbe* results = addResultsProbe();
    add({"Med poäng", "Bo", 2, true, 11});
    add({"Utan poäng", "Bo", 2, false});
    add({"Tredje"});
    open();
    select(2);
    press(91);
    EXPECT_EQ(results->builds, 1);
    EXPECT_EQ(currentScreen(), SCREEN_RESULTS);
    EXPECT_EQ(list(), nullptr); // torn down
    EXPECT_FALSE(window_->sharedButton(94)->isVisible());
    EXPECT_STREQ(testOccasion().person.NAMN, "Med poäng");
    EXPECT_EQ(testOccasion().RawScores[22], 11);

    // Back from the results: the same row index is selected again.
    window_->showScreen(SCREEN_EARLIER_TESTS);
    EXPECT_TRUE(isSelected(2));
    select(1);
    QTest::keyClick(window_, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(results->builds, 2);
    EXPECT_STREQ(testOccasion().person.NAMN, "Utan poäng");
    for (const std::int32_t raw : testOccasion().RawScores) {
        EXPECT_EQ(raw, NOT_ADMINISTERED); // not the scores of the person shown before
    }
    EXPECT_EQ(testOccasion().TD_TESTDATE, testOccasion().person.TESTDATE);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(EarlierTests, BackButtonEscapeAndAltTLeadToTheStartScreen) {
    for (const auto& leave : std::vector<std::function<void()>>{
             [&] { press(90); }, [&] { QTest::keyClick(window_, Qt::Key_Escape); },
             [&] { QTest::keyClick(window_, Qt::Key_T, Qt::AltModifier); }}) {
        open();
        leave();
        EXPECT_EQ(currentScreen(), SCREEN_START);
        EXPECT_EQ(list(), nullptr);
        EXPECT_FALSE(window_->sharedButton(93)->isVisible());
        EXPECT_TRUE(window_->sharedButton(92)->isVisible());
        EXPECT_EQ(window_->sharedButton(92)->text(), QString::fromStdString(text(93)));
        EXPECT_TRUE(window_->hasFocus()); // where Enter is "&Nytt test"
    }
    QTest::keyClick(window_, Qt::Key_Return);
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
}

TEST_F(EarlierTests, SizeChangeLaysOutListAndButtonsWithExportBeforeDelete) {
    add({"Lars"});
    open();
    window_->placeWindow(0, 0, 900, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(list()->geometry(), QRect(5, 90, 892, 510));
    const int order[] = {90, 91, 92, 93, 94};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(window_->sharedButton(order[i])->geometry(), QRect(20 + 120 * i, 647, 110, 40))
            << order[i];
    }
    window_->showScreen(SCREEN_START);
    window_->placeWindow(0, 0, 800, 600);
}

TEST_F(EarlierTests, EveryControlTakesTabEnterAndEscape) {
    ResultsProbe* results = addResultsProbe();
    add({"Lars"});
    open();
    // Tab from the list reaches each shown button and the window itself, and comes back.
    std::vector<QWidget*> visited{focused()};
    ASSERT_EQ(visited[0], list());
    for (int step = 0; step < 8; ++step) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        if (focused() == list()) {
            break;
        }
        visited.push_back(focused());
    }
    EXPECT_EQ(focused(), list());
    for (QWidget* control : visited) {
        EXPECT_TRUE(control == list() || control == window_ ||
                    qobject_cast<QPushButton*>(control) != nullptr)
            << control->objectName().toStdString();
    }
    setSaveFileHandler([](const SaveFileRequest&) { return std::string(); });
    for (QWidget* control : visited) {
        if (control == window_->sharedButton(92) || control == window_->sharedButton(90) ||
            control == window_->sharedButton(91)) {
            continue; // export opens a modal dialog, back and show results leave the screen
        }
        control->setFocus();
        messages_.clear();
        const bool opensResults = control == window_ || control == list();
        QTest::keyClick(control, Qt::Key_Return); // the list is gone once the results open
        if (opensResults) {
            // Enter on the window itself and on the list is "&Visa resultat".
            EXPECT_EQ(results->builds, 1);
            EXPECT_EQ(currentScreen(), SCREEN_RESULTS);
            results->builds = 0;
            window_->showScreen(SCREEN_EARLIER_TESTS);
            continue;
        }
        // On a button Enter runs no command but the button's own.
        EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
        EXPECT_EQ(count("TESTPERSON"), 1);
    }
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_EQ(currentScreen(), SCREEN_START);
    open();
    window_->sharedButton(94)->setFocus();
    QTest::keyClick(window_->sharedButton(94), Qt::Key_Escape);
    EXPECT_EQ(currentScreen(), SCREEN_START);
}

// Enter and a double-click on a person open the results; without a selection Enter asks for one.
TEST_F(EarlierTests, EnterAndDoubleClickOnTheListShowResults) {
    ResultsProbe* results = addResultsProbe();
    add({"Lars"});
    add({"Klas"});
    const struct {
        const char* way;
        int row;
    } ways[] = {{"Enter", 0}, {"keypad Enter", 1}, {"double-click", 1}};
    for (const auto& way : ways) {
        open();
        select(way.row);
        const int builds = results->builds;
        if (way.way[0] == 'd') {
            const QRect place = list()->visualRect(list()->model()->index(way.row, 0));
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, place.center());
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, place.center());
        } else {
            QTest::keyClick(list(), way.way[0] == 'E' ? Qt::Key_Return : Qt::Key_Enter,
                            way.way[0] == 'E' ? Qt::NoModifier : Qt::KeypadModifier);
        }
        EXPECT_EQ(results->builds, builds + 1) << way.way;
        EXPECT_EQ(currentScreen(), SCREEN_RESULTS) << way.way;
        EXPECT_EQ(personListState().rememberedRow, way.row) << way.way;
    }
    open();
    list()->selectionModel()->clear();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{"Ingen testperson är vald ur listan."});
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
}

// Ctrl+1 ... Ctrl+9 on the list sort as clicks on the headers do.
TEST_F(EarlierTests, ControlAndAColumnNumberSortTheList) {
    add({"Bo", "Cecilia"});
    add({"Anna", "Bertil"});
    add({"Cilla", "Adam"});
    open();
    const struct {
        Qt::Key key;
        int column;
        QStringList expected;
    } sortKeys[] = {
        {Qt::Key_1, 0, {"Anna", "Bo", "Cilla"}},
        {Qt::Key_1, 0, {"Cilla", "Bo", "Anna"}},
        {Qt::Key_2, 1, {"Adam", "Bertil", "Cecilia"}},
    };
    for (const auto& sortKey : sortKeys) {
        QTest::keyClick(list(), sortKey.key, Qt::ControlModifier);
        EXPECT_EQ(personListState().sortColumn, sortKey.column);
        EXPECT_EQ(column(sortKey.column), sortKey.expected);
        EXPECT_EQ(focused(), list());
    }
    // No column, or more than Ctrl, is no sort key.
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        EXPECT_EQ(sortColumnOfKey(QKeyEvent(QEvent::KeyPress, Qt::Key_1, modifiers)), -1);
    }
    EXPECT_EQ(sortColumnOfKey(QKeyEvent(QEvent::KeyPress, Qt::Key_0, Qt::ControlModifier)), -1);
}

TEST_F(EarlierTests, BackupWritesAConsistentPrivateCopyOverAnEarlierOne) {
    SKIP_ON_SERVER("a server register is backed up on the server");
    add({"Lars"});
    add({"Åsa", "Bo", 2, false});
    const std::filesystem::path folder = dir_.path() / "kopior";
    std::filesystem::create_directory(folder);
    const std::filesystem::path target = folder / "DODODA_backup.db";
    std::ofstream(target) << "en gammal kopia";
    open();
    SaveFileRequest asked;
    setSaveFileHandler([&](const SaveFileRequest& request) {
        asked = request;
        return target.string();
    });
    QTest::keyClick(window_, Qt::Key_S, Qt::AltModifier);

    EXPECT_EQ(asked.fileName, "DODODA_backup.db");
    EXPECT_EQ(asked.directory, std::filesystem::current_path().string());
    EXPECT_EQ(asked.caption, "RIVO-IV  Välj mapp att spara databasfilen i.");
    EXPECT_EQ(asked.defaultSuffix, "db");
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{text(10)});
    EXPECT_EQ(messages_.requests()[0].caption, "RIVO-IV");
    EXPECT_EQ(focused(), list());

    EXPECT_EQ(query(target.string(), "PRAGMA integrity_check"), "ok\n");
    const char* rows = "SELECT ID, NAMN, TESTLEDARE FROM TESTPERSON ORDER BY ID";
    const std::string source = dir_.file(kDatabaseFileName).string();
    EXPECT_EQ(query(target.string(), rows), query(source, rows));
    EXPECT_EQ(query(target.string(), rows), "1|Lars|Testledare\n2|Åsa|Bo\n");
    EXPECT_EQ(query(target.string(), "SELECT PERSONALDATA_ID, kodning FROM TESTDATA"), "1|5\n");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"DODODA_backup.db"});
}

// A register on a server: the button says where the register is backed up, asks for no file
// and writes none.
TEST_F(EarlierTests, BackupOfAServerRegisterSaysItIsBackedUpOnTheServer) {
    if (!testingOnServer()) {
        GTEST_SKIP() << "runs against a database server (RIVO_TEST_ODBC)";
    }
    add({"Lars"});
    open();
    bool asked = false;
    setSaveFileHandler([&](const SaveFileRequest&) {
        asked = true;
        return (dir_.path() / "kopia.db").string();
    });
    press(94);
    EXPECT_FALSE(asked);
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{kServerBackupMessage});
    EXPECT_EQ(filesIn(dir_.path()), std::vector<std::string>{});
    EXPECT_EQ(count("TESTPERSON"), 1);
}

TEST_F(EarlierTests, FailedBackupShowsTheSystemsMessageAndKeepsTheEarlierBackup) {
    SKIP_ON_SERVER("a server register is backed up on the server");
    add({"Lars"});
    const std::filesystem::path folder = dir_.path() / "skrivskyddad";
    std::filesystem::create_directory(folder);
    const std::filesystem::path target = folder / "DODODA_backup.db";
    std::ofstream(target) << "en tidigare kopia";
    std::filesystem::permissions(dir_.path(), std::filesystem::perms::owner_all |
                                                  std::filesystem::perms::others_exec);
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                    std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
    open();
    setSaveFileHandler([&](const SaveFileRequest&) { return target.string(); });
    {
        ActAsOrdinaryUser ordinary;
        press(94);
    }
    // An ordinary user may neither reach the target nor write the register's log row: the copy is
    // not even tried, whichever refusal comes first. (A copy that fails is shown below.)
    ASSERT_FALSE(messages_.texts().empty());
    EXPECT_TRUE(messages_.texts().back() == kAccessLogRefusedMessage ||
                messages_.texts().back().starts_with(target.string() + " kan inte skrivas"))
        << messages_.texts().back();
    EXPECT_EQ(readFile(target), "en tidigare kopia");
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"DODODA_backup.db"});
    EXPECT_EQ(focused(), list());
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);

    // A folder that is not there: the system says so; cancelling the dialog says nothing.
    messages_.clear();
    setSaveFileHandler([&](const SaveFileRequest&) { return (folder / "saknas" / "x").string(); });
    press(94);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_TRUE(messages_.texts()[0].ends_with("filen eller mappen finns inte"))
        << messages_.texts()[0];
    // A name the register's own files bear is refused, naming it, before anything is written.
    messages_.clear();
    const std::filesystem::path journal = folder / "DODODA.db-journal";
    setSaveFileHandler([&](const SaveFileRequest&) { return journal.string(); });
    press(94);
    ASSERT_EQ(messages_.texts().size(), 1u);
    EXPECT_EQ(messages_.texts()[0].find(journal.string() + " är registret"), 0u)
        << messages_.texts()[0];
    EXPECT_FALSE(std::filesystem::exists(journal));
    messages_.clear();
    setSaveFileHandler([](const SaveFileRequest&) { return std::string(); });
    press(94);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(EarlierTests, ExportButtonAndAltEOpenTheExportDialogOverTheWindow) {
    add({"Lars"});
    open();
    int shown = 0;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            ++shown;
            EXPECT_EQ(dialog->parentWidget(), window_.data());
            dialog->reject();
        }
    });
    closer.start();
    press(92);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(window_->focusWidget(), list()); // focused when the window is active again
    window_->activateWindow();                 // the window manager's part, absent offscreen
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(window_, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(window_->focusWidget(), list());
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
}

// Showing results, backing up and deleting each leave their row in the access log; when the row
// cannot be written, nothing is shown, copied or deleted.
TEST_F(EarlierTests, ShowResultsBackupAndDeleteAreLoggedOrNotDoneAtAll) {
    ResultsProbe* results = addResultsProbe();
    add({"Lars"});
    add({"Klas"});
    const std::filesystem::path target = dir_.path() / "kopia.db";
    setSaveFileHandler([&](const SaveFileRequest&) { return target.string(); });
    struct Case {
        const char* what;
        Qt::Key key;
        const char* event;
        std::optional<std::int32_t> person;
        std::function<bool()> done;
    };
    const Case cases[] = {
        {"show results", Qt::Key_V, "results-viewed", 1, [&] { return results->builds > 0; }},
        {"backup", Qt::Key_S, "backup", std::nullopt,
         [&] { return std::filesystem::exists(target); }},
        {"delete", Qt::Key_L, "person-deleted", 1, [&] { return count("TESTPERSON") == 1; }},
    };
    for (const bool refused : {true, false}) {
        for (const Case& c : cases) {
            if (testingOnServer() && c.key == Qt::Key_S) {
                continue; // a server register is backed up on the server
            }
            SCOPED_TRACE(std::string(c.what) + (refused ? ", refused" : ""));
            // A name of its own each time: a server keeps the trigger's function.
            const std::string refusal = std::string("no_log_") + c.event[0] + c.event[1];
            if (refused) {
                refuseWrites(refusal, "INSERT", "ATKOMSTLOGG", "loggen är full");
            }
            window_->showScreen(SCREEN_EARLIER_TESTS);
            select(1);
            MessageCapture answers(AnswerYes);
            QTest::keyClick(window_, c.key, Qt::AltModifier);
            EXPECT_EQ(c.done(), !refused);
            std::vector<AccessLogRow> rows;
            DoListAccessLog({}, [&](const AccessLogRow& row) { rows.push_back(row); });
            if (refused) {
                dropRefusal(refusal, "ATKOMSTLOGG");
                EXPECT_TRUE(rows.empty());
                ASSERT_FALSE(answers.texts().empty());
                EXPECT_NE(answers.texts().back().find(
                              c.key == Qt::Key_L ? "loggen är full" : kAccessLogRefusedMessage),
                          std::string::npos)
                    << answers.texts().back();
                continue;
            }
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(rows.back().event, c.event);
            EXPECT_EQ(rows.back().person, c.person);
        }
    }
}

// The button's encrypted copy: the dialog refuses passphrases that differ or are too short and
// asks again; the copy it writes is one that rivo-admin restore reads back with the passphrase,
// and it holds the same persons as the register.
TEST_F(EarlierTests, BackupDialogWritesAnEncryptedCopyThatRestoreReadsBack) {
    SKIP_ON_SERVER("a server register is backed up on the server");
    // A register that restore accepts has its norm tables.
    ASSERT_EQ(DoReplaceNormTables(demoNormTables(), "2026-12-07 08:00:00 UTC"), DB_DONE);
    add({"Lars"});
    add({"Åsa", "Bo", 2, false});
    const std::filesystem::path folder = dir_.path() / "kopior";
    std::filesystem::create_directory(folder);
    const std::filesystem::path target = folder / "DODODA_backup.db.krypterad";
    open();
    setBackupChoiceHandler({}); // the real dialog
    SaveFileRequest asked;
    setSaveFileHandler([&](const SaveFileRequest& request) {
        asked = request;
        return target.string();
    });
    const QString passphrase = qs("en lösenfras för kopian");
    const struct {
        QString first;
        QString again;
        const char* says; // nullptr: taken
    } typed[] = {
        {passphrase, qs("en lösenfras för kopia"), "Lösenfraserna är inte lika."},
        {qs("för kort"), qs("för kort"), "Lösenfrasen måste vara minst 10 tecken lång."},
        {passphrase, passphrase, nullptr},
    };
    std::vector<std::string> said;
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<BackupDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        sawDialog = true;
        auto* first = dialog->findChild<QLineEdit*>("passphraseEdit");
        auto* again = dialog->findChild<QLineEdit*>("passphraseAgainEdit");
        EXPECT_FALSE(first->isEnabled()); // no passphrase for a plain copy
        auto* encrypt = dialog->findChild<QCheckBox*>("encryptCheck");
        EXPECT_EQ(encrypt->text(), qs("&Kryptera kopian"));
        QTest::mouseClick(encrypt, Qt::LeftButton, {}, QPoint(5, encrypt->height() / 2));
        EXPECT_TRUE(encrypt->isChecked());
        EXPECT_TRUE(first->isEnabled());
        for (const auto& t : typed) {
            first->setText(t.first);
            again->setText(t.again);
            if (t.says == nullptr) {
                const QDir shots(RIVO_SCREENSHOT_DIR);
                shots.mkpath(".");
                EXPECT_TRUE(dialog->grab().save(shots.filePath("backup_dialog.png"), "PNG"));
            }
            messages_.clear();
            QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
            if (t.says != nullptr) {
                ASSERT_EQ(messages_.texts().size(), 1u);
                EXPECT_TRUE(messages_.texts()[0].starts_with(t.says)) << messages_.texts()[0];
                EXPECT_TRUE(dialog->isVisible());
            }
            // Refused or taken, the fields are emptied at once.
            EXPECT_TRUE(first->text().isEmpty());
            EXPECT_TRUE(again->text().isEmpty());
        }
    });
    press(94);

    ASSERT_TRUE(sawDialog);
    EXPECT_EQ(asked.fileName, "DODODA_backup.db.krypterad");
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{text(10)});
    const std::string sealed = readFile(target);
    ASSERT_TRUE(sealed.starts_with("RIVOKOPI")) << sealed.substr(0, 16);
    EXPECT_EQ(sealed.find("Lars"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"DODODA_backup.db.krypterad"});

    // Another clinic's folder restores it with the passphrase from a private file.
    const std::filesystem::path elsewhere = dir_.path() / "aterstalld";
    std::filesystem::create_directories(elsewhere / "run");
    std::filesystem::create_directories(elsewhere / "config");
    {
        std::ofstream(elsewhere / "fras") << passphrase.toStdString() << "\n";
        std::filesystem::permissions(elsewhere / "fras", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write);
    }
    const std::string runtime = (elsewhere / "run").string();
    const std::string config = (elsewhere / "config").string();
    const std::string oldRuntime =
        std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    const std::string oldConfig =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const int status = runInFolder(RIVO_ADMIN_PATH, elsewhere,
                                   {"restore", target.string(), "--passphrase-file", "fras"}, {},
                                   elsewhere / "ut.txt", elsewhere / "ut.txt");
    setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << readFile(elsewhere / "ut.txt");
    const char* rows = "SELECT ID, NAMN, TESTLEDARE FROM TESTPERSON ORDER BY ID";
    EXPECT_EQ(query((elsewhere / kDatabaseFileName).string(), rows),
              "1|Lars|Testledare\n2|Åsa|Bo\n");
}

TEST_F(EarlierTests, Screenshot) {
    add({"Åsa Lindström", "Per Ek", 2});
    add({"Örjan Nyström", "Per Ek", 1});
    add({"Anna Öberg", "Lena Ärlig", 2});
    add({"Zara Hägg", "Lena Ärlig", 2, false});
    open();
    const QDir folder(RIVO_SCREENSHOT_DIR);
    folder.mkpath(".");
    EXPECT_TRUE(window_->grab().save(folder.filePath("earlier_tests_screen.png"), "PNG"));
}

} // namespace
