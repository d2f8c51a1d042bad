// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>

// Creates the demonstration database file at path: the schema, the ID counter at 0, one user,
// and the synthetic norm tables. Refuses to overwrite an existing file. The file is built under
// unfinishedDatabasePath(path) and appears at path only when complete; an unfinished file left
// by an interrupted run is removed first. On failure nothing is left behind and error says why
// (in Swedish, for the user).
bool createDemoDatabase(const std::string& path, const std::string& userName,
                        const std::string& password, std::string& error);

// Where createDemoDatabase builds the database before it takes its name.
std::string unfinishedDatabasePath(const std::string& path);

// The same register on the database server a connection string names (see data_source.h): the
// server's schema, the counter, the user and the norms in one transaction. Refuses a database
// that already holds the register's tables. With a workstation role (src/db/workstation_role.h)
// the connecting role owns everything and the workstation role gets its rights in the same
// transaction; empty leaves the rights as the server gives them. On failure error says why.
bool createDemoRegisterOnServer(const std::string& connectionString, const std::string& userName,
                                const std::string& password, std::string& error,
                                const std::string& workstationRole = "");
