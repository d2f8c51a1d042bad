// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// Runs program with args in folder dir. Standard input comes from inFile (none when empty);
// standard output goes to outFile and standard error to errFile, which may be the same file.
// When killAfter is not negative the program is killed with SIGKILL that long after its start.
// Returns the status as waitpid gives it.
int runInFolder(const char* program, const std::filesystem::path& dir,
                const std::vector<std::string>& args, const std::filesystem::path& inFile,
                const std::filesystem::path& outFile, const std::filesystem::path& errFile,
                std::chrono::microseconds killAfter = std::chrono::microseconds(-1));
