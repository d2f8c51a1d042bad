// SPDX-License-Identifier: Apache-2.0
#pragma once

// The program's few options. Qt's own (-platform, -style ...) are left to the application
// object; anything else is refused with the usage text, so that a mistyped option is not
// silently ignored.

// Answers --help and --version on standard output before any window system is needed: their
// exit code (0), or -1 when the program should start.
int answerInformationOptions(int argc, char** argv);

// After the application object has taken Qt's own options out of the command line: the exit
// code (1) when anything but the program's options is left, after the usage text on standard
// error; -1 when the program should start.
int refuseUnknownOptions(int argc, char** argv);
// As rivo-admin's: 1 is a failure, and 2 there means written with warnings.
inline constexpr int kUsageExitCode = 1;

// Whether the command line holds option.
bool hasOption(int argc, char** argv, const char* option);
