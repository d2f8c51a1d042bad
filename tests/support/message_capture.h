// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "message_box.h"

#include <string>
#include <vector>

// Records every message box shown while it lives and answers each with a chosen answer.
class MessageCapture {
  public:
    explicit MessageCapture(int answer = AnswerOk);
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<MessageRequest>& requests() const { return requests_; }
    std::vector<std::string> texts() const;
    void clear() { requests_.clear(); }

  private:
    std::vector<MessageRequest> requests_;
    MessageBoxHandler previous_;
};
