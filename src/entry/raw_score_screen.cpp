// SPDX-License-Identifier: Apache-2.0
#include "raw_score_screen.h"

#include "access_log.h"
#include "close_question.h"
#include "form_buttons.h"
#include "message_box.h"
#include "raw_score_form.h"
#include "raw_score_paint.h"
#include "save_occasion.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "shell_state.h"

RawScoreScreen::RawScoreScreen(ScreenHost& host) : host_(host) {}

RawScoreScreen::~RawScoreScreen() = default;

void RawScoreScreen::build() {
    bottomRef() = 600;
    host_.placeWindow(screenWidth() / 2 - 400, screenHeight() / 2 - 300, 800, 600);
    form_ = std::make_unique<RawScoreForm>(host_.widgetParent(), host_.controlFont());
    shownTexts_ = rawScoreTextsOf(testOccasion());
    form_->fill(shownTexts_);
    form_->onEnterInLastField = [this] { command(CMD_ENTER); };
    form_->show();
    showFormButtons(host_, 1, 2);
    form_->focusField(0);
    host_.repaint();
}

void RawScoreScreen::paint(Dc& dc) {
    ab_paint_raw_scores(dc);
}

ScreenTexts RawScoreScreen::texts() const {
    return rawScoreTexts();
}

void RawScoreScreen::command(int id) {
    if (!form_) {
        return;
    }
    switch (id) {
    case CMD_ALT_T:
    case 90:
    case CMD_ESCAPE:
        back();
        break;
    case 91:
    case CMD_ALT_V:
    case CMD_ALT_F:
        showResults();
        break;
    default:
        break;
    }
}

void RawScoreScreen::showResults() {
    TestOccasion& occasion = testOccasion();
    const RawScoreCheck check = checkRawScores(form_->texts(), occasion);
    if (!check.valid) {
        MessageRequest request;
        request.text = check.message;
        request.caption = kProgramCaption;
        request.icon = MessageIcon::Warning;
        showMessageBox(request);
        form_->focusField(check.field);
        return;
    }
    if (saveTestOccasion(occasion, rawScoreMode()) != 1) {
        return; // the failure has been shown; every entry is still in the form
    }
    occasionUnsaved() = false;
    if (!logBeforeReading(AccessEvent::ResultsViewed, occasion.person.ID, "")) {
        return;
    }
    host_.showScreen(SCREEN_RESULTS);
}

bool RawScoreScreen::hasUnsavedEntries() const {
    return form_->texts() != shownTexts_ || occasionUnsaved();
}

bool RawScoreScreen::mayClose() {
    return !form_ || !hasUnsavedEntries() || agreeToCloseUnsaved();
}

void RawScoreScreen::back() {
    occasionUnsaved() = hasUnsavedEntries();
    readRawScoresLeniently(form_->texts(), testOccasion());
    host_.showScreen(SCREEN_PERSONAL_DATA);
}

void RawScoreScreen::teardown() {
    if (!form_) {
        return;
    }
    form_.reset();
    host_.focusWindow(); // where Enter acts as the next screen's command 91
    hideFormButtons(host_);
}
