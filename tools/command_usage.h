// SPDX-License-Identifier: Apache-2.0
#pragma once

// The usage texts of rivo-admin's commands, one per command, from which both `rivo-admin --help`
// and `rivo-admin COMMAND --help` are printed, and which a command's refusal of its arguments
// ends with.

#include <cstdio>
#include <string>

// The usage of one command ("report", "log"...), lines of "  rivo-admin ..." and their
// explanation; empty for a name that is no command.
std::string commandUsage(const std::string& command);

// "Användning:", then the usage of every command, then what is common to all: files and exit
// statuses.
void printFullUsage(std::FILE* out);

// "Användning:" and the usage of one command.
void printCommandUsage(std::FILE* out, const std::string& command);

// A command's refusal of an argument: "Okänt argument: ARG" on a line of its own, then the
// command's usage, on standard error.
void refuseArgument(const std::string& command, const std::string& argument);
