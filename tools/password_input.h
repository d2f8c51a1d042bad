#pragma once

#include <string>

// Reads one line from standard input without the line end. When the input is a terminal, the
// prompt is shown and the typed characters are not echoed. False at end of input.
bool readPassword(const char* prompt, std::string& password);

// Whether a user name or password is valid UTF-8 without control characters (NUL, line breaks,
// tabs) and has the 3-10 characters the login accepts; when not, says so on standard error,
// naming it as what ("Användarnamnet", "Lösenordet").
bool credentialOk(const std::string& value, const char* what);

// The same without the length: for the name of a user to look up.
bool credentialCharactersOk(const std::string& value, const char* what);

// The password of a new user: one line of standard input (fromStdin), or typed twice without
// echo. false (said on standard error) when there is none, the two differ, or credentialOk
// refuses it.
bool readNewPassword(bool fromStdin, std::string& password);
