// SPDX-License-Identifier: Apache-2.0
#include "message_capture.h"

#include <utility>

MessageCapture::MessageCapture(int answer) {
    previous_ = setMessageBoxHandler([this, answer](const MessageRequest& request) {
        requests_.push_back(request);
        return answer;
    });
}

MessageCapture::~MessageCapture() {
    setMessageBoxHandler(std::move(previous_));
}

std::vector<std::string> MessageCapture::texts() const {
    std::vector<std::string> result;
    for (const MessageRequest& request : requests_) {
        result.push_back(request.text);
    }
    return result;
}
