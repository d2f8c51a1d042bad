// SPDX-License-Identifier: Apache-2.0
#include "message_box.h"

#include <cstdio>
#include <utility>

namespace {

MessageBoxHandler& currentHandler() {
    static MessageBoxHandler handler;
    return handler;
}

int defaultAnswer(const MessageRequest& request) {
    if (request.buttons == MessageButtons::Ok) {
        return AnswerOk;
    }
    return request.defaultButton == MessageDefault::First ? AnswerYes : AnswerNo;
}

} // namespace

int showMessageBox(const MessageRequest& request) {
    if (const MessageBoxHandler& handler = currentHandler()) {
        return handler(request);
    }
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return defaultAnswer(request);
}

int showMessage(const std::string& text) {
    MessageRequest request;
    request.text = text;
    request.caption = kProgramCaption;
    return showMessageBox(request);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(currentHandler(), std::move(handler));
}
