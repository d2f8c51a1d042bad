// SPDX-License-Identifier: Apache-2.0
#include "new_test_fixture.h"

#include "db.h"
#include "shell_state.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QFile>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

namespace {

using PersonalDataScreen = NewTestRoad;

struct FieldLayout {
    const char* name;
    QRect geometry;
    int maxLength;
    const char* label;
};

const FieldLayout kLayout[] = {
    {"namnField", QRect(105, 120, 400, 25), 49, "Namn"},
    {"adressField", QRect(105, 150, 400, 25), 49, "Adress"},
    {"telefonField", QRect(105, 180, 150, 25), 20, "Telefon"},
    {"nationalitetField", QRect(105, 210, 150, 25), 20, "Nationalitet"},
    {"hemsprakField", QRect(105, 240, 150, 25), 20, "Hemspråk"},
    {"utbildningField", QRect(105, 270, 400, 25), 49, "Utbildning"},
    {"testadVidField", QRect(105, 300, 400, 25), 49, "Testad vid"},
    {"testledareField", QRect(105, 330, 400, 25), 49, "Testledare"},
    {"ovrigtField", QRect(105, 360, 400, 25), 49, "Övrigt"},
    {"testdatumField", QRect(605, 120, 80, 25), 8, "Testdatum"},
    {"fodelsedatumField", QRect(605, 150, 80, 25), 8, "Födelsedatum"},
    {"testalderField", QRect(605, 180, 60, 25), 32767, "Testålder"}, // read-only: no limit
    {"konField", QRect(605, 210, 20, 25), 1, "Kön"},
    {"hanthetField", QRect(605, 240, 20, 25), 1, "Hänthet"},
};

TEST_F(PersonalDataScreen, NewTestShowsTodayAnUnsetBirthDateAndTheFieldsOfTheTable) {
    beginNewTest();
    for (const FieldLayout& layout : kLayout) {
        QLineEdit* edit = field(layout.name);
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->isVisible()) << layout.name;
        EXPECT_EQ(edit->geometry(), layout.geometry) << layout.name;
        EXPECT_EQ(edit->maxLength(), layout.maxLength) << layout.name;
        EXPECT_EQ(edit->accessibleName(), QString::fromUtf8(layout.label)) << layout.name;
    }
    EXPECT_EQ(field("testdatumField")->text(), "20240315");
    EXPECT_EQ(field("fodelsedatumField")->text(), "00000000");
    EXPECT_EQ(field("testalderField")->text(), "2024.3.15");
    EXPECT_TRUE(field("testalderField")->isReadOnly());
    EXPECT_EQ(field("namnField")->text(), "");
    EXPECT_EQ(field("testdatumField")->accessibleDescription(),
              QString::fromUtf8("(ÅÅÅÅMMDD), obligatorisk"));
    EXPECT_EQ(focused(), field("namnField"));
    EXPECT_EQ(window_->sharedButton(90)->text(), "&Avbryt");
    EXPECT_EQ(window_->sharedButton(90)->geometry(), QRect(20, 515, 120, 40));
    EXPECT_EQ(window_->sharedButton(91)->text(), QString::fromUtf8("&Fortsätt"));
    EXPECT_EQ(window_->sharedButton(91)->geometry(), QRect(155, 515, 120, 40));
    EXPECT_TRUE(window_->sharedButton(91)->isVisible());
    EXPECT_FALSE(window_->sharedButton(92)->isVisible());
    EXPECT_EQ(idCounter(), 0);
    saveScreenshot(*window_, "personal_data_form.png");
}

TEST_F(PersonalDataScreen, TabEnterAndShiftGoRoundTheFieldsOverTheTestAge) {
    beginNewTest();
    const char* order[] = {"namnField",         "adressField",       "telefonField",
                           "nationalitetField", "hemsprakField",     "utbildningField",
                           "testadVidField",    "testledareField",   "ovrigtField",
                           "testdatumField",    "fodelsedatumField", "konField",
                           "hanthetField",      "namnField"};
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter}) {
        for (std::size_t i = 1; i < std::size(order); ++i) {
            press(key);
            EXPECT_EQ(focused(), field(order[i])) << key << " " << order[i];
        }
    }
    // Backwards: Shift+Tab and Shift+Enter.
    field("konField")->setFocus();
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), field("fodelsedatumField"));
    field("namnField")->setFocus();
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(focused(), field("hanthetField"));
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA); // Enter never leaves the form
    EXPECT_EQ(beeps_, 0);
}

TEST_F(PersonalDataScreen, FieldReachedByTheKeyboardHasItsTextSelected) {
    beginNewTest();
    type(field("adressField"), "Storgatan 1");
    field("namnField")->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(field("adressField")->selectedText(), "Storgatan 1");
    QTest::keyClicks(field("adressField"), "Ny");
    EXPECT_EQ(field("adressField")->text(), "Ny"); // typing replaces the selection
}

TEST_F(PersonalDataScreen, RefusedKeysBeepOnceAndChangeNothing) {
    beginNewTest();
    struct Row {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const Row refused[] = {
        {"testdatumField", Qt::Key_A, Qt::NoModifier},
        {"testdatumField", Qt::Key_Minus, Qt::NoModifier},
        {"testdatumField", Qt::Key_Period, Qt::NoModifier},
        {"fodelsedatumField", Qt::Key_Asterisk, Qt::KeypadModifier},
        {"konField", Qt::Key_1, Qt::NoModifier},
        {"konField", Qt::Key_X, Qt::NoModifier},
        {"hanthetField", Qt::Key_K, Qt::NoModifier},
        {"hanthetField", Qt::Key_5, Qt::KeypadModifier},
    };
    for (const Row& row : refused) {
        QLineEdit* edit = field(row.name);
        type(edit, edit->objectName() == "konField" || edit->objectName() == "hanthetField"
                       ? ""
                       : "2010");
        edit->setCursorPosition(2);
        const QString before = edit->text();
        const int beepsBefore = beeps_;
        QTest::keyClick(edit, row.key, row.modifiers);
        EXPECT_EQ(edit->text(), before) << row.name << " " << row.key;
        EXPECT_EQ(edit->cursorPosition(), std::min(2, static_cast<int>(before.size())));
        EXPECT_EQ(beeps_, beepsBefore + 1) << row.name << " " << row.key;
    }
}

TEST_F(PersonalDataScreen, AcceptedKeysOfTheFilteredFields) {
    beginNewTest();
    type(field("testdatumField"), "2010");
    QTest::keyClick(field("testdatumField"), Qt::Key_0, Qt::KeypadModifier);
    QTest::keyClick(field("testdatumField"), Qt::Key_3, Qt::KeypadModifier);
    QTest::keyClick(field("testdatumField"), Qt::Key_Backspace);
    QTest::keyClick(field("testdatumField"), Qt::Key_4);
    EXPECT_EQ(field("testdatumField")->text(), "201004");
    type(field("konField"), "k");
    EXPECT_EQ(field("konField")->text(), "K");
    for (const char* letter : {"v", "h", "a", "o"}) {
        type(field("hanthetField"), letter);
        EXPECT_EQ(field("hanthetField")->text(), QString(letter).toUpper());
    }
    type(field("namnField"), "Anna 2");
    EXPECT_EQ(field("namnField")->text(), "Anna 2"); // the other fields take every key
    EXPECT_EQ(beeps_, 0);
    // With Alt held every key passes the filter: Alt+B reaches the window as its command, and
    // the form has nothing to do with it.
    QTest::keyClick(field("konField"), Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(beeps_, 0);
    EXPECT_EQ(field("konField")->text(), "K");
}

TEST_F(PersonalDataScreen, LeavingADateFieldShowsTheAgeWhenBothDatesAreEquallyLong) {
    beginNewTest();
    type(field("fodelsedatumField"), "19800101");
    press(Qt::Key_Tab);
    EXPECT_EQ(field("testalderField")->text(), "44.2.14");
    EXPECT_EQ(testOccasion().person.BORNDATE, (DateValue{1980, 1, 1}));
    type(field("fodelsedatumField"), "198001");
    press(Qt::Key_Tab);
    EXPECT_EQ(field("testalderField")->text(), "44.2.14"); // a half-typed date keeps the age
    type(field("testdatumField"), "20100301");
    type(field("fodelsedatumField"), "19900415");
    press(Qt::Key_Tab);
    EXPECT_EQ(field("testalderField")->text(), "19.10.16");
}

// Each failing check shows its message and puts the focus where the user must type.
TEST_F(PersonalDataScreen, ChecksRunInOrderWithTheirMessagesAndFocus) {
    beginNewTest();
    struct Step {
        const char* field;
        const char* entry;      // typed before continuing
        unsigned short message; // expected message
        const char* focus;
    };
    const Step steps[] = {
        {"namnField", "", 97, "namnField"},
        {"namnField", "Anna", 98, "testledareField"},
        // A new test's date of birth "00000000" is no date.
        {"testledareField", "Eva", 101, "fodelsedatumField"},
        {"testdatumField", "", 100, "testdatumField"},
        {"testdatumField", "19901231", 99, "testdatumField"},
        {"testdatumField", "20100231", 99, "testdatumField"},
        {"testdatumField", "20100301", 101, "fodelsedatumField"},
        {"fodelsedatumField", "18500101", 101, "fodelsedatumField"},
        {"fodelsedatumField", "", 102, "fodelsedatumField"},
        {"fodelsedatumField", "19800230", 101, "fodelsedatumField"},
        {"fodelsedatumField", "19800101", 103, "konField"},
    };
    for (const Step& step : steps) {
        type(field(step.field), step.entry);
        environment_.messages().clear();
        press(Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(message(), text(step.message)) << step.entry;
        EXPECT_EQ(focused(), field(step.focus)) << step.entry;
        EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
        ASSERT_FALSE(environment_.messages().requests().empty());
        const MessageRequest& box = environment_.messages().requests().back();
        EXPECT_EQ(box.caption, "RIVO-IV");
        EXPECT_EQ(box.icon, MessageIcon::Warning);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(testOccasion().person.TESTDATE, (DateValue{2010, 3, 1}));
}

TEST_F(PersonalDataScreen, AgeOutsideTheNormsIsAskedAboutWithNoAsTheDefault) {
    beginNewTest();
    typePerson();
    struct Row {
        const char* birth;
        unsigned short question; // 0: none
    };
    // Today is 15 March 2024: 15 years 11 months, 91 years, exactly 16, and 90 years 11 months.
    for (const Row& row :
         {Row{"20080316", 650}, Row{"19330315", 651}, Row{"20080315", 0}, Row{"19330316", 0}}) {
        type(field("fodelsedatumField"), row.birth);
        MessageCapture answers(AnswerNo);
        press(Qt::Key_F, Qt::AltModifier);
        if (row.question == 0) {
            EXPECT_TRUE(answers.texts().empty()) << row.birth;
            EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES) << row.birth;
            press(Qt::Key_Escape); // back to the personal-data form
            continue;
        }
        ASSERT_EQ(answers.requests().size(), 1u) << row.birth;
        const MessageRequest& box = answers.requests()[0];
        EXPECT_EQ(box.text, text(row.question));
        EXPECT_EQ(box.buttons, MessageButtons::YesNo);
        EXPECT_EQ(box.defaultButton, MessageDefault::Second);
        EXPECT_EQ(box.icon, MessageIcon::Error);
        EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
        EXPECT_EQ(focused(), field("fodelsedatumField"));
    }
    // "Ja" goes on with the young person.
    type(field("fodelsedatumField"), "20100101");
    MessageCapture yes(AnswerYes);
    press(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(yes.texts().size(), 1u);
    EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES);
}

TEST_F(PersonalDataScreen, StoredPersonKeepsCodesAndASevenDigitDate) {
    beginNewTest();
    typePerson();
    type(field("testdatumField"), "2010013");
    type(field("fodelsedatumField"), "1950011");
    type(field("konField"), "m");
    type(field("hanthetField"), "");
    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES) << message();
    const PersonRecord& person = testOccasion().person;
    EXPECT_STREQ(person.NAMN, "Anna Berg");
    EXPECT_STREQ(person.TESTLEDARE, "Eva Lund");
    EXPECT_EQ(person.TESTDATE, (DateValue{2010, 1, 3}));
    EXPECT_EQ(person.BORNDATE, (DateValue{1950, 1, 1}));
    EXPECT_EQ(person.SEX, 1);
    EXPECT_EQ(person.HANDEDNESS, 0);
    EXPECT_EQ(person.AGE, 0);
}

TEST_F(PersonalDataScreen, CancelClearsTheOccasionAndReturnsToTheStartScreen) {
    beginNewTest();
    typePerson();
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    press(Qt::Key_Escape);
    ASSERT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_EQ(field("namnField")->text(), "Anna Berg"); // back shows the stored person
    EXPECT_EQ(field("konField")->text(), "K");
    EXPECT_EQ(field("hanthetField")->text(), "H");
    EXPECT_EQ(field("testalderField")->text(), "44.2.14");
    {
        // The person typed is in no database yet: leaving it asks first.
        MessageCapture agree(AnswerYes);
        press(Qt::Key_Escape);
        EXPECT_EQ(agree.requests().size(), 1u);
    }
    EXPECT_EQ(currentScreen(), SCREEN_START);
    EXPECT_STREQ(testOccasion().person.NAMN, "");
    EXPECT_EQ(window_->findChild<QLineEdit*>("namnField"), nullptr);
    EXPECT_TRUE(window_->sharedButton(92)->isVisible());
    EXPECT_TRUE(window_->hasFocus()); // Enter begins the next test again
}

TEST_F(PersonalDataScreen, SettingsFileIsOwnersOnlyAndGivesBackEveryValueExactly) {
    beginNewTest();
    const QString name = QString::fromUtf8("Åsa Öberg = Ängel; \"x\", y\\z");
    type(field("namnField"), name);
    type(field("adressField"), QString::fromUtf8("Väg 1; 2 = 3, Å"));
    type(field("testledareField"), "Eva");
    // The check of the test date fails: the keys before it are written, the later ones not.
    type(field("testdatumField"), "19900101");
    press(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(message(), text(99));
    struct stat status {};
    ASSERT_EQ(stat(settingsFile().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    // Leaving with entries asks; the answer here throws them away.
    MessageCapture agree(AnswerYes);
    press(Qt::Key_A, Qt::AltModifier);
    beginNewTest();
    QTest::keyClick(field("namnField"), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(field("namnField")->text(), name);
    EXPECT_EQ(field("adressField")->text(), QString::fromUtf8("Väg 1; 2 = 3, Å"));
    EXPECT_EQ(field("telefonField")->text(), ""); // written, empty
    EXPECT_EQ(field("testledareField")->text(), "Eva");
    EXPECT_EQ(field("testdatumField")->text(), "?"); // never written
    EXPECT_EQ(field("konField")->text(), "?");
    EXPECT_EQ(field("testalderField")->text(), "2024.3.15"); // not recomputed
    EXPECT_STREQ(testOccasion().person.NAMN, ""); // nothing stored until the user continues
    press(Qt::Key_A, Qt::AltModifier);

    // After a whole pass every key is written and the file is still the owner's alone.
    beginNewTest();
    typePerson();
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    ASSERT_EQ(stat(settingsFile().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    beginNewTest();
    press(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(field("testdatumField")->text(), "20240315");
    EXPECT_EQ(field("fodelsedatumField")->text(), "19800101");
    EXPECT_EQ(field("konField")->text(), "K");
    EXPECT_EQ(field("hanthetField")->text(), "H");
}

TEST_F(PersonalDataScreen, AltSWithoutSettingsGivesQuestionMarksAndAnEmptyAddress) {
    beginNewTest();
    ASSERT_FALSE(QFile::exists(QString::fromStdString(settingsFile())));
    press(Qt::Key_S, Qt::AltModifier);
    for (const FieldLayout& layout : kLayout) {
        const QString name = QLatin1String(layout.name);
        if (name == "testalderField") {
            continue;
        }
        const bool empty = name == "adressField" || name == "telefonField";
        EXPECT_EQ(field(layout.name)->text(), empty ? "" : "?") << layout.name;
    }
}

} // namespace
