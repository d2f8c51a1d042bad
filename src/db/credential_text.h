#pragma once

// What a user name or password may be made of, wherever one enters: the login dialog, the
// password change, and rivo-admin's init-db and user commands (typed, or read from standard
// input). The text is UTF-8; its length is counted in characters, not bytes.

#include <string>
#include <string_view>

enum class CredentialProblem {
    None,
    InvalidUtf8,      // not valid UTF-8 (a stray continuation byte, an overlong form, ...)
    ControlCharacter, // NUL, a line break, a tab or any other control character
    TooShort,
    TooLong,
};

// The first problem of the text as a user name or password: its encoding and control characters
// first, then its length of 3-10 characters.
CredentialProblem credentialProblem(std::string_view text);

// Only the encoding and the control characters: for a name that is looked up, not made.
CredentialProblem credentialCharacterProblem(std::string_view text);

// The problem in words, naming the text as what ("Användarnamnet", "Lösenordet"); empty for None.
std::string credentialProblemText(CredentialProblem problem, const char* what);

inline constexpr int kMinCredentialLength = 3;
inline constexpr int kMaxCredentialLength = 10;
