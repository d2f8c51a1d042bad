// SPDX-License-Identifier: Apache-2.0
#include "personal_data_screen.h"

#include "close_question.h"
#include "form_buttons.h"
#include "message_box.h"
#include "personal_data_form.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "screen_paint.h"
#include "shell_state.h"

PersonalDataScreen::PersonalDataScreen(ScreenHost& host) : host_(host) {}

PersonalDataScreen::~PersonalDataScreen() = default;

namespace {

constexpr const char* kCancelQuestion =
    "Vill du avbryta det nya testet? Det du har skrivit in i formuläret sparas inte.";

} // namespace

void PersonalDataScreen::build() {
    bottomRef() = 600;
    host_.placeWindow(screenWidth() / 2 - 400, screenHeight() / 2 - 300, 800, 600);
    form_ = std::make_unique<PersonalDataForm>(host_.widgetParent(), host_.controlFont());
    form_->fill(testOccasion().person);
    shownTexts_ = form_->texts();
    form_->show();
    showFormButtons(host_, 95, 96);
    form_->focusField(PD_NAMN);
    host_.repaint();
}

void PersonalDataScreen::paint(Dc& dc) {
    ab_paint_personal_data(dc);
}

ScreenTexts PersonalDataScreen::texts() const {
    return personalDataTexts();
}

void PersonalDataScreen::command(int id) {
    if (!form_) {
        return;
    }
    switch (id) {
    case CMD_ESCAPE:
    case 90:
    case CMD_ALT_A:
        if (!mayCancel()) {
            break;
        }
        resetTestOccasion();
        occasionUnsaved() = false;
        host_.showScreen(SCREEN_START);
        break;
    case 91:
    case CMD_ALT_F:
        if (form_->store(testOccasion().person) == 1) {
            // A new person is saved only with the raw scores; a change waits for the save too.
            occasionUnsaved() = occasionUnsaved() || rawScoreMode() == 0 || entriesChanged();
            host_.showScreen(SCREEN_RAW_SCORES);
        }
        break;
    case CMD_ALT_S:
        form_->loadSettings();
        break;
    default:
        break;
    }
}

bool PersonalDataScreen::entriesChanged() const {
    return form_->texts() != shownTexts_;
}

bool PersonalDataScreen::hasUnsavedEntries() const {
    return entriesChanged() || occasionUnsaved();
}

bool PersonalDataScreen::mayClose() {
    return !form_ || !hasUnsavedEntries() || agreeToCloseUnsaved();
}

bool PersonalDataScreen::mayCancel() const {
    if (!hasUnsavedEntries()) {
        return true;
    }
    MessageRequest question;
    question.text = kCancelQuestion;
    question.caption = kProgramCaption;
    question.buttons = MessageButtons::YesNo;
    question.defaultButton = MessageDefault::Second;
    question.icon = MessageIcon::Question;
    return showMessageBox(question) == AnswerYes;
}

void PersonalDataScreen::teardown() {
    if (!form_) {
        return;
    }
    form_.reset();
    host_.focusWindow(); // where Enter acts as the next screen's command 91
    hideFormButtons(host_);
}
