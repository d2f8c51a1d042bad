#include "password_input.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

bool readPassword(const char* prompt, std::string& password) {
    const bool terminal = isatty(STDIN_FILENO) != 0;
    termios saved{};
    if (terminal) {
        std::fprintf(stderr, "%s", prompt);
        std::fflush(stderr);
        tcgetattr(STDIN_FILENO, &saved);
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    const bool read = static_cast<bool>(std::getline(std::cin, password));
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fprintf(stderr, "\n");
    }
    if (read && !password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    return read;
}

namespace {

constexpr int kMinCredentialLength = 3;
constexpr int kMaxCredentialLength = 10;

int characterCount(const std::string& text) {
    int count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) {
            ++count;
        }
    }
    return count;
}

} // namespace

bool credentialLengthOk(const std::string& value, const char* what) {
    const int length = characterCount(value);
    if (length < kMinCredentialLength || length > kMaxCredentialLength) {
        std::fprintf(stderr, "%s måste vara %d-%d tecken långt.\n", what, kMinCredentialLength,
                     kMaxCredentialLength);
        return false;
    }
    return true;
}

bool readNewPassword(bool fromStdin, std::string& password) {
    if (fromStdin) {
        if (!readPassword("", password)) {
            std::fprintf(stderr, "Inget lösenord på standard in.\n");
            return false;
        }
    } else {
        std::string again;
        if (!readPassword("Lösenord: ", password) ||
            !readPassword("Bekräfta lösenordet: ", again)) {
            return false;
        }
        if (password != again) {
            std::fprintf(stderr, "Lösenorden är inte lika.\n");
            return false;
        }
    }
    return credentialLengthOk(password, "Lösenordet");
}
