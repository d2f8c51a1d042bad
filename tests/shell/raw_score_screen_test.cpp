// SPDX-License-Identifier: Apache-2.0
#include "new_test_fixture.h"

#include "db.h"
#include "raw_score_fields.h"
#include "save_occasion.h"
#include "shell_state.h"
#include "subtest_table.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QPushButton>
#include <QTest>

namespace {

using RawScoreScreen = NewTestRoad;

// Entries for every field, all valid: Sifferrepetition 10 + 8 + 9.
const char* const kEntries[kRawScoreFieldCount] = {"40", "30", "20", "10", "6",  "8",  "5",  "9",
                                                   "6",  "15", "30", "12", "33", "14", "15", "70",
                                                   "20", "5",  "12", "20", "40", "13"};

class RawScores : public NewTestRoad {
  protected:
    void typeAllScores() {
        for (int id = 0; id < kRawScoreFieldCount; ++id) {
            type(rawField(id), kEntries[id]);
        }
    }
    int persons() { return number("SELECT COUNT(*) FROM TESTPERSON"); }
    int scoreRows() { return number("SELECT COUNT(*) FROM TESTDATA"); }
    int storedCounter() { return number("SELECT IDNOW FROM NAMEID WHERE RECNO = 1"); }
};

TEST_F(RawScores, FormShowsItsFieldsEmptyForANewTestWithTheFocusInTheFirst) {
    openRawScoreForm();
    for (int id = 0; id < kRawScoreFieldCount; ++id) {
        QLineEdit* edit = rawField(id);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->geometry(),
                  QRect(kRawScoreFields[id].x, kRawScoreFields[id].y, id == 15 ? 30 : 25, 25))
            << id;
        EXPECT_EQ(edit->maxLength(), id == 15 ? 3 : 2);
        EXPECT_EQ(edit->text(), "");
        EXPECT_TRUE(edit->alignment() & Qt::AlignHCenter);
        EXPECT_EQ(edit->accessibleName().toStdString(), text(rawScoreFieldName(id)));
        EXPECT_TRUE(edit->accessibleDescription().contains(QString::number(rawScoreFieldMax(id))));
    }
    EXPECT_EQ(rawField(4)->accessibleName(),
              QString::fromUtf8("Sifferrepetition Framlänges Omfång"));
    EXPECT_EQ(focused(), rawField(0));
    EXPECT_EQ(window_->sharedButton(90)->text(), "&Tillbaka");
    EXPECT_EQ(window_->sharedButton(90)->geometry(), QRect(20, 515, 120, 40));
    EXPECT_EQ(window_->sharedButton(91)->text(), "&Visa resultat");
    EXPECT_EQ(window_->sharedButton(91)->geometry(), QRect(155, 515, 120, 40));
    typeAllScores();
    saveScreenshot(*window_, "raw_score_form.png");
}

TEST_F(RawScores, TabAndEnterGoRoundTheFieldsAndShiftGoesBack) {
    openRawScoreForm();
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Return}) {
        rawField(0)->setFocus();
        for (int id = 1; id < kRawScoreFieldCount; ++id) {
            press(key);
            EXPECT_EQ(focused(), rawField(id)) << key << " " << id;
        }
    }
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), rawField(0)); // Tab after the last field: the first again
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), rawField(21));
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(focused(), rawField(20));
    EXPECT_EQ(results_->builds, 0);
    EXPECT_EQ(persons(), 0);
}

TEST_F(RawScores, LettersAreRefusedInTheFirstThirteenFieldsOnly) {
    openRawScoreForm();
    for (const int id : {0, 5, 12}) {
        type(rawField(id), "3");
        const int before = beeps_;
        QTest::keyClick(rawField(id), Qt::Key_A);
        QTest::keyClick(rawField(id), Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(rawField(id), Qt::Key_Asterisk, Qt::KeypadModifier);
        EXPECT_EQ(rawField(id)->text(), "3") << id;
        EXPECT_EQ(beeps_, before + 3) << id;
    }
    type(rawField(1), "");
    QTest::keyClick(rawField(1), Qt::Key_Minus);
    QTest::keyClick(rawField(1), Qt::Key_9, Qt::KeypadModifier);
    EXPECT_EQ(rawField(1)->text(), "-9");
    QTest::keyClick(rawField(2), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(rawField(2)->text(), "-");
    const int before = beeps_;
    type(rawField(13), "x");
    EXPECT_EQ(rawField(13)->text(), "x"); // not filtered; the check refuses it
    EXPECT_EQ(beeps_, before);
}

TEST_F(RawScores, WholeRoadSavesTwoOccasionsUnderConsecutiveIds) {
    for (int occasion = 1; occasion <= 2; ++occasion) {
        openRawScoreForm();
        typeAllScores();
        rawField(21)->setFocus();
        press(Qt::Key_Return); // Enter in the last field saves, like "Visa resultat"
        EXPECT_TRUE(environment_.messages().texts().empty())
            << testing::PrintToString(environment_.messages().texts());
        EXPECT_EQ(results_->builds, occasion);
        EXPECT_EQ(currentScreen(), SCREEN_RESULTS);
        EXPECT_EQ(testOccasion().person.ID, occasion);
        window_->showScreen(SCREEN_START);
    }
    EXPECT_EQ(persons(), 2);
    EXPECT_EQ(scoreRows(), 2);
    EXPECT_EQ(storedCounter(), 2);
    EXPECT_EQ(number("SELECT MAX(ID) FROM TESTPERSON"), 2);

    TestOccasion read{};
    ASSERT_EQ(DoReadPD(2, read.person), DB_DONE);
    EXPECT_STREQ(read.person.NAMN, "Anna Berg");
    EXPECT_STREQ(read.person.ADRESS, "Storgatan 1");
    EXPECT_EQ(read.person.SEX, 2);
    EXPECT_EQ(read.person.HANDEDNESS, 2);
    EXPECT_EQ(read.person.BORNDATE, (DateValue{1980, 1, 1}));
    ASSERT_EQ(DoReadTD(read), DB_DONE);
    EXPECT_EQ(read.TD_TESTDATE, (DateValue{2024, 3, 15}));
    EXPECT_EQ(read.RawScores[RAW_BLOCKMONSTER], 40);
    EXPECT_EQ(read.RawScores[RAW_SIFFERREPETITION], 27);
    EXPECT_EQ(read.RawScores[RAW_KODNING], 70);
    EXPECT_EQ(read.RawScores[RAW_BILDKOMPLETTERING], 13);
}

TEST_F(RawScores, InvalidEntryIsNamedWithTheFocusOnItAndNothingIsSaved) {
    openRawScoreForm();
    typeAllScores();
    type(rawField(0), "67");
    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    EXPECT_EQ(message(), "Ogiltigt värde ifyllt för Blockmönster.");
    EXPECT_EQ(environment_.messages().requests()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(focused(), rawField(0));
    EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES);

    environment_.messages().clear();
    type(rawField(0), "40");
    type(rawField(3), ""); // Framlänges given only as its span
    press(Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(message(), text(654));
    EXPECT_EQ(focused(), rawField(3));
    EXPECT_EQ(results_->builds, 0);
    EXPECT_EQ(persons(), 0);
    EXPECT_EQ(storedCounter(), 0);
}

TEST_F(RawScores, BackAndForwardKeepTheEntries) {
    openRawScoreForm();
    typeAllScores();
    type(rawField(0), "67"); // out of range: the back command keeps the former value quietly
    press(Qt::Key_T, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
    EXPECT_TRUE(environment_.messages().texts().empty());
    EXPECT_EQ(field("namnField")->text(), "Anna Berg");
    type(field("namnField"), "Anna Berg-Ek");
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    EXPECT_EQ(rawField(0)->text(), "");
    for (int id = 1; id < kRawScoreFieldCount; ++id) {
        EXPECT_EQ(rawField(id)->text(), kEntries[id]) << id;
    }
    type(rawField(0), "41");
    QTest::mouseClick(window_->sharedButton(91), Qt::LeftButton);
    ASSERT_EQ(results_->builds, 1);
    TestOccasion read{};
    ASSERT_EQ(DoReadPD(1, read.person), DB_DONE);
    EXPECT_STREQ(read.person.NAMN, "Anna Berg-Ek");
    ASSERT_EQ(DoReadTD(read), DB_DONE);
    EXPECT_EQ(read.RawScores[RAW_BLOCKMONSTER], 41);
    EXPECT_EQ(read.RawScores[RAW_BUT], 30);
}

// The raw-score insert refused by the database: nothing may remain, the user stays on the form.
TEST_F(RawScores, FailedSaveKeepsTheFormWithEveryEntryAndLeavesNoTrace) {
    exec("CREATE TRIGGER refuse_scores BEFORE INSERT ON TESTDATA BEGIN "
         "SELECT RAISE(ABORT, 'Disken är full'); END");
    openRawScoreForm();
    typeAllScores();
    press(Qt::Key_V, Qt::AltModifier);
    EXPECT_NE(message().find("Disken är full"), std::string::npos);
    EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    EXPECT_EQ(results_->builds, 0);
    for (int id = 0; id < kRawScoreFieldCount; ++id) {
        EXPECT_EQ(rawField(id)->text(), kEntries[id]) << id;
    }
    EXPECT_EQ(persons(), 0);
    EXPECT_EQ(scoreRows(), 0);
    EXPECT_EQ(storedCounter(), 0);
    EXPECT_EQ(idCounter(), 0);

    // The cause removed, the same entries are saved under the first ID.
    exec("DROP TRIGGER refuse_scores");
    environment_.messages().clear();
    press(Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(environment_.messages().texts().empty());
    EXPECT_EQ(results_->builds, 1);
    EXPECT_EQ(number("SELECT MAX(PERSONALDATA_ID) FROM TESTDATA"), 1);
}

TEST_F(RawScores, ChangingAStoredOccasionUpdatesItAndAVanishedPersonIsAFailure) {
    openRawScoreForm();
    typeAllScores();
    press(Qt::Key_V, Qt::AltModifier);
    ASSERT_EQ(results_->builds, 1);
    // "Ändra råpoäng" of the results screen.
    rawScoreMode() = 1;
    window_->showScreen(SCREEN_RAW_SCORES);
    EXPECT_EQ(rawField(0)->text(), "40");
    type(rawField(0), "50");
    press(Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(results_->builds, 2);
    EXPECT_EQ(persons(), 1);
    EXPECT_EQ(number("SELECT blockmonster FROM TESTDATA WHERE PERSONALDATA_ID = 1"), 50);

    window_->showScreen(SCREEN_RAW_SCORES);
    exec("DELETE FROM TESTDATA");
    exec("DELETE FROM TESTPERSON");
    type(rawField(0), "55");
    press(Qt::Key_V, Qt::AltModifier);
    EXPECT_NE(message().find("finns inte längre i databasen"), std::string::npos);
    EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    EXPECT_EQ(results_->builds, 2);
    EXPECT_EQ(rawField(0)->text(), "55");
    EXPECT_EQ(persons(), 0);
}

} // namespace
