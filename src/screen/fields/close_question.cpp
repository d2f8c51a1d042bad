// SPDX-License-Identifier: Apache-2.0
#include "close_question.h"

#include "message_box.h"

bool agreeToCloseUnsaved() {
    MessageRequest question;
    question.text = kCloseUnsavedQuestion;
    question.caption = kProgramCaption;
    question.buttons = MessageButtons::YesNo;
    question.defaultButton = MessageDefault::Second;
    question.icon = MessageIcon::Question;
    return showMessageBox(question) == AnswerYes;
}
