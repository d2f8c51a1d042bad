// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>
#include <string>

// The one way the program shows a message box. The core libraries call showMessageBox(); the
// application installs a handler that shows a real modal box, and tests install one that records
// the text and gives a chosen answer.

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageDefault { First, Second };

// The answers, numbered as the original's dialog results.
enum MessageAnswer : int { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

struct MessageRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageDefault defaultButton = MessageDefault::First;
    // The window that owns the box (a widget of the application); null means the main window.
    void* owner = nullptr;
    // A box shown before any window exists has no owner at all.
    bool withoutOwner = false;
};

using MessageBoxHandler = std::function<int(const MessageRequest&)>;

inline constexpr const char* kProgramCaption = "RIVO-IV";

int showMessageBox(const MessageRequest& request);

// Shortcut for the common case: caption "RIVO-IV", OK button, no icon.
int showMessage(const std::string& text);

// Installs a handler and returns the previous one. Without any handler the text is written to
// standard error and the default button is the answer.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);
