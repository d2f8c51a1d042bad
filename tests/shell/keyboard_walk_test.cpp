// SPDX-License-Identifier: Apache-2.0
#include "new_test_fixture.h"

#include "key_filter.h"
#include "message_box.h"
#include "message_capture.h"
#include "raw_score_fields.h"
#include "screen_ids.h"
#include "shell_state.h"
#include "virtual_key.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

using KeyboardWalk = NewTestRoad;

// On the start screen the window has the focus, so that Enter is "&Nytt test"; Tab and the
// arrows then walk the three buttons from the top, round and back.
TEST_F(KeyboardWalk, StartScreenButtonsTakeTheFocusByTabAndTheArrows) {
    ASSERT_TRUE(window_->hasFocus());
    struct Step {
        Qt::Key key;
        int focusedButton;
    };
    const Step steps[] = {
        {Qt::Key_Tab, 91},  {Qt::Key_Tab, 92},     {Qt::Key_Tab, 90}, {Qt::Key_Backtab, 92},
        {Qt::Key_Down, 90}, {Qt::Key_Down, 91},    {Qt::Key_Up, 90},  {Qt::Key_Right, 91},
        {Qt::Key_Left, 90}, {Qt::Key_Backtab, 92}, {Qt::Key_Up, 91},
    };
    for (const Step& step : steps) {
        QTest::keyClick(focused() != nullptr ? focused() : window_.data(), step.key);
        EXPECT_EQ(focused(), window_->sharedButton(step.focusedButton))
            << "after key " << step.key << " expected " << step.focusedButton;
    }
    // On the next screen the buttons are out of the Tab ring again.
    window_->setScreen(SCREEN_EARLIER_TESTS, std::make_unique<ResultsProbe>());
    window_->showScreen(SCREEN_EARLIER_TESTS);
    for (const int id : kSharedButtonIds) {
        EXPECT_EQ(window_->sharedButton(id)->focusPolicy(), Qt::NoFocus) << id;
    }
    window_->showScreen(SCREEN_START);
    // A click still presses a button, and leaves the focus where it was.
    window_->setScreen(SCREEN_EARLIER_TESTS, std::make_unique<ResultsProbe>());
    QTest::mouseClick(window_->sharedButton(92), Qt::LeftButton);
    EXPECT_EQ(currentScreen(), SCREEN_EARLIER_TESTS);
    window_->showScreen(SCREEN_START);
    window_->setFocus();
    QTest::keyClick(window_, Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
}

TEST_F(KeyboardWalk, EscOnEveryPersonalDataFieldCancelsTheNewTest) {
    beginNewTest();
    const char* fields[] = {"namnField",         "adressField",       "telefonField",
                            "nationalitetField", "hemsprakField",     "utbildningField",
                            "testadVidField",    "testledareField",   "ovrigtField",
                            "testdatumField",    "fodelsedatumField", "konField",
                            "hanthetField"};
    // Each field is reached from "Namn" by Tab alone; Esc there cancels.
    for (const char* name : fields) {
        ASSERT_EQ(focused(), field("namnField"));
        for (int steps = 0; focused() != field(name) && steps < 14; ++steps) {
            press(Qt::Key_Tab);
        }
        ASSERT_EQ(focused(), field(name));
        press(Qt::Key_Escape);
        EXPECT_EQ(currentScreen(), SCREEN_START) << name;
        EXPECT_TRUE(window_->hasFocus());
        beginNewTest();
    }
    EXPECT_EQ(beeps_, 0);
}

TEST_F(KeyboardWalk, EnterOnTheWindowContinuesAndEscOnEveryRawScoreFieldGoesBack) {
    beginNewTest();
    typePerson();
    window_->setFocus();
    QTest::keyClick(window_, Qt::Key_Return); // the window's Enter is "&Fortsätt"
    ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    for (int id = 0; id < kRawScoreFieldCount; ++id) {
        for (int step = 0; step < id; ++step) {
            press(Qt::Key_Return);
        }
        ASSERT_EQ(focused(), rawField(id));
        type(rawField(id), "2");
        press(Qt::Key_Escape);
        ASSERT_EQ(currentScreen(), SCREEN_PERSONAL_DATA) << id;
        press(Qt::Key_F, Qt::AltModifier);
        ASSERT_EQ(currentScreen(), SCREEN_RAW_SCORES) << id;
        EXPECT_EQ(rawField(id)->text(), "2") << id; // kept by the back command
    }
    EXPECT_EQ(results_->builds, 0);
}

// Esc and "&Avbryt" with entries ask first (No is the default and keeps every entry); with
// nothing entered they leave at once.
TEST_F(KeyboardWalk, EscOnAFilledPersonalDataFormAsksFirst) {
    const struct {
        int answer;
        int screen;
    } answers[] = {{AnswerNo, SCREEN_PERSONAL_DATA}, {AnswerYes, SCREEN_START}};
    for (const auto& answer : answers) {
        beginNewTest();
        type(field("namnField"), "Anna");
        MessageCapture capture(answer.answer);
        press(Qt::Key_Escape);
        ASSERT_EQ(capture.requests().size(), 1u);
        EXPECT_EQ(capture.requests()[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(capture.requests()[0].defaultButton, MessageDefault::Second);
        EXPECT_NE(capture.requests()[0].text.find("sparas inte"), std::string::npos);
        EXPECT_EQ(currentScreen(), answer.screen);
        if (answer.screen == SCREEN_PERSONAL_DATA) {
            EXPECT_EQ(field("namnField")->text(), "Anna");
            press(Qt::Key_A, Qt::AltModifier); // "&Avbryt" asks as Esc does
            EXPECT_EQ(capture.requests().size(), 2u);
            EXPECT_EQ(currentScreen(), SCREEN_PERSONAL_DATA);
            type(field("namnField"), "");
            press(Qt::Key_A, Qt::AltModifier); // nothing entered any more: it leaves at once
            EXPECT_EQ(capture.requests().size(), 2u);
            EXPECT_EQ(currentScreen(), SCREEN_START);
        }
    }
}

// A click on the background leaves the focus in the field: Enter there moves on and saves
// nothing.
TEST_F(KeyboardWalk, AClickOnTheBackgroundKeepsEnterInTheField) {
    openRawScoreForm();
    type(rawField(0), "3");
    QTest::mouseClick(window_, Qt::LeftButton, {}, QPoint(790, 10));
    EXPECT_EQ(focused(), rawField(0));
    EXPECT_FALSE(window_->hasFocus());
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), rawField(1));
    EXPECT_EQ(currentScreen(), SCREEN_RAW_SCORES);
    EXPECT_EQ(results_->builds, 0);
    EXPECT_EQ(number("SELECT COUNT(*) FROM TESTPERSON"), 0);
}

// The key rule, in the virtual-key codes the forms were made for.
TEST(KeyFilter, EachFieldTakesTheKeysItIsMadeFor) {
    struct Row {
        int screen;
        int field;
        int key;
        bool alt;
        bool accepted;
    };
    const Row rows[] = {
        // Date fields: control keys, space, digits of both kinds.
        {SCREEN_PERSONAL_DATA, 9, 0x08, false, true},
        {SCREEN_PERSONAL_DATA, 9, 0x2E, false, true},
        {SCREEN_PERSONAL_DATA, 10, '0', false, true},
        {SCREEN_PERSONAL_DATA, 10, '9', false, true},
        {SCREEN_PERSONAL_DATA, 10, 0x60, false, true},
        {SCREEN_PERSONAL_DATA, 10, 0x69, false, true},
        {SCREEN_PERSONAL_DATA, 10, 0x3A, false, false},
        {SCREEN_PERSONAL_DATA, 9, 'A', false, false},
        {SCREEN_PERSONAL_DATA, 9, 0x6D, false, false}, // keypad minus
        {SCREEN_PERSONAL_DATA, 9, 0xBD, false, false}, // minus
        {SCREEN_PERSONAL_DATA, 9, 0x70, false, false}, // F1
        {SCREEN_PERSONAL_DATA, 9, 'A', true, true},
        // Sex and handedness.
        {SCREEN_PERSONAL_DATA, 12, 'K', false, true},
        {SCREEN_PERSONAL_DATA, 12, 'M', false, true},
        {SCREEN_PERSONAL_DATA, 12, 0x2F, false, true},
        {SCREEN_PERSONAL_DATA, 12, '1', false, false},
        {SCREEN_PERSONAL_DATA, 12, 'V', false, false},
        {SCREEN_PERSONAL_DATA, 13, 'V', false, true},
        {SCREEN_PERSONAL_DATA, 13, 'H', false, true},
        {SCREEN_PERSONAL_DATA, 13, 'A', false, true},
        {SCREEN_PERSONAL_DATA, 13, 'O', false, true},
        {SCREEN_PERSONAL_DATA, 13, 'K', false, false},
        {SCREEN_PERSONAL_DATA, 13, 0x60, false, false},
        {SCREEN_PERSONAL_DATA, 0, 'Z', false, true},
        {SCREEN_PERSONAL_DATA, 11, 'Z', false, true},
        // Raw scores: fields 0-12 refuse letters and keypad * + separator.
        {SCREEN_RAW_SCORES, 0, 'A', false, false},
        {SCREEN_RAW_SCORES, 12, 0x5F, false, false},
        {SCREEN_RAW_SCORES, 12, 0x3A, false, false},
        {SCREEN_RAW_SCORES, 5, 0x6A, false, false},
        {SCREEN_RAW_SCORES, 5, 0x6C, false, false},
        {SCREEN_RAW_SCORES, 5, 0x6D, false, true},
        {SCREEN_RAW_SCORES, 5, 0xBD, false, true},
        {SCREEN_RAW_SCORES, 5, '7', false, true},
        {SCREEN_RAW_SCORES, 5, 0x67, false, true},
        {SCREEN_RAW_SCORES, 5, 'A', true, true},
        {SCREEN_RAW_SCORES, 13, 'A', false, true},
        {SCREEN_RAW_SCORES, 21, 0x6B, false, true},
        // Other screens take everything.
        {SCREEN_START, 9, 'A', false, true},
        {SCREEN_RESULTS, 0, 'A', false, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(keyAccepted(row.screen, row.field, row.key, row.alt), row.accepted)
            << row.screen << " " << row.field << " " << std::hex << row.key;
    }
}

// A pasted character is judged as the key that types it.
TEST(KeyFilter, PastedCharactersAreJudgedAsTheirKeys) {
    struct Row {
        int screen;
        int field;
        char32_t character;
        bool accepted;
    };
    const Row rows[] = {
        {SCREEN_PERSONAL_DATA, 9, U'7', true},   {SCREEN_PERSONAL_DATA, 9, U'-', false},
        {SCREEN_PERSONAL_DATA, 9, U'a', false},  {SCREEN_PERSONAL_DATA, 10, U'\n', false},
        {SCREEN_PERSONAL_DATA, 12, U'k', true},  {SCREEN_PERSONAL_DATA, 12, U'M', true},
        {SCREEN_PERSONAL_DATA, 12, U'1', false}, {SCREEN_PERSONAL_DATA, 13, U'o', true},
        {SCREEN_PERSONAL_DATA, 13, U'Ö', false}, {SCREEN_PERSONAL_DATA, 0, U'Å', true},
        {SCREEN_PERSONAL_DATA, 0, U'\t', false}, {SCREEN_RAW_SCORES, 0, U'-', true},
        {SCREEN_RAW_SCORES, 0, U'9', true},      {SCREEN_RAW_SCORES, 0, U'x', false},
        {SCREEN_RAW_SCORES, 15, U'x', true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(characterAccepted(row.screen, row.field, row.character), row.accepted)
            << row.screen << " " << row.field << " " << static_cast<unsigned>(row.character);
    }
}

TEST(KeyFilter, QtKeysBecomeTheirVirtualKeys) {
    struct Row {
        int key;
        Qt::KeyboardModifiers modifiers;
        int virtualKey;
    };
    const Row rows[] = {
        {Qt::Key_A, Qt::NoModifier, 0x41},
        {Qt::Key_Z, Qt::ShiftModifier, 0x5A},
        {Qt::Key_0, Qt::NoModifier, 0x30},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 0x6A},
        {Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
        {Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
        {Qt::Key_Minus, Qt::NoModifier, 0xBD},
        {Qt::Key_Backspace, Qt::NoModifier, 0x08},
        {Qt::Key_Tab, Qt::NoModifier, 0x09},
        {Qt::Key_Return, Qt::NoModifier, 0x0D},
        {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
        {Qt::Key_Space, Qt::NoModifier, 0x20},
        {Qt::Key_Left, Qt::NoModifier, 0x25},
        {Qt::Key_Home, Qt::KeypadModifier, 0x24},
        {Qt::Key_Delete, Qt::NoModifier, 0x2E},
        {Qt::Key_F1, Qt::NoModifier, 0x70},
        {Qt::Key_Aring, Qt::NoModifier, 0xDD},
        {Qt::Key_Odiaeresis, Qt::NoModifier, 0xC0},
        {Qt::Key_Period, Qt::NoModifier, 0xBE},
        {Qt::Key_Eacute, Qt::NoModifier, kOtherKey},
    };
    for (const Row& row : rows) {
        const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers);
        EXPECT_EQ(virtualKeyOf(event), row.virtualKey) << std::hex << row.key;
    }
}

} // namespace
