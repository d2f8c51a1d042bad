// SPDX-License-Identifier: Apache-2.0
#pragma once

// While it lives, what is typed on a terminal at standard input is not echoed; the prompt is
// shown first. Restores the terminal and ends the line when it goes. Nothing happens when
// standard input is no terminal (a pipe, a file).

#include <termios.h>
#include <unistd.h>

#include <cstdio>

class SilentTerminal {
  public:
    explicit SilentTerminal(const char* prompt) : terminal_(isatty(STDIN_FILENO) != 0) {
        if (!terminal_) {
            return;
        }
        std::fprintf(stderr, "%s", prompt);
        std::fflush(stderr);
        tcgetattr(STDIN_FILENO, &saved_);
        termios silent = saved_;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    ~SilentTerminal() {
        if (terminal_) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
            std::fprintf(stderr, "\n");
        }
    }
    SilentTerminal(const SilentTerminal&) = delete;
    SilentTerminal& operator=(const SilentTerminal&) = delete;

  private:
    bool terminal_;
    termios saved_{};
};
