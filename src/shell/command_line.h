#pragma once

// The program's few options. Qt's own (-platform, -style ...) are left to the application
// object; anything else is ignored, as it always was.

// Answers --help and --version on standard output before any window system is needed: their
// exit code (0), or -1 when the program should start.
int answerInformationOptions(int argc, char** argv);

// Whether the command line holds option.
bool hasOption(int argc, char** argv, const char* option);
