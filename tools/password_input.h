#pragma once

#include <string>

// Reads one line from standard input without the line end. When the input is a terminal, the
// prompt is shown and the typed characters are not echoed. False at end of input.
bool readPassword(const char* prompt, std::string& password);
