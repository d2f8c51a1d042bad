// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>
#include <vector>

// rivo-admin export --groups 0,1,2,3 FILE: writes the export of every stored person from the
// database in the working directory. Returns the process exit code.
int runExportCommand(const std::vector<std::string>& args);
