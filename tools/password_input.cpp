#include "password_input.h"

#include "credential_text.h"

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

bool said(CredentialProblem problem, const char* what) {
    if (problem == CredentialProblem::None) {
        return true;
    }
    std::fprintf(stderr, "%s\n", credentialProblemText(problem, what).c_str());
    return false;
}

} // namespace

bool credentialOk(const std::string& value, const char* what) {
    return said(credentialProblem(value), what);
}

bool credentialCharactersOk(const std::string& value, const char* what) {
    return said(credentialCharacterProblem(value), what);
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
    return credentialOk(password, "Lösenordet");
}
