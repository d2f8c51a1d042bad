// SPDX-License-Identifier: Apache-2.0
#include "password_input.h"

#include "credential_text.h"
#include "silent_terminal.h"

#include <cstdio>
#include <iostream>

bool readPassword(const char* prompt, std::string& password) {
    bool read = false;
    {
        const SilentTerminal silent(prompt);
        read = static_cast<bool>(std::getline(std::cin, password));
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
