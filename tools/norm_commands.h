// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>
#include <vector>

// rivo-admin export-norms FOLDER: the norm tables of the working database as CSV files.
int runExportNormsCommand(const std::vector<std::string>& args);
// rivo-admin import-norms FOLDER: reads, checks and loads a set of licensed norm tables.
int runImportNormsCommand(const std::vector<std::string>& args);
// rivo-admin check-norms: the checks of import-norms on the tables in the working database.
int runCheckNormsCommand(const std::vector<std::string>& args);
