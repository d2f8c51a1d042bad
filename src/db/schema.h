// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"

// Creates an empty database file readable and writable by the owner only (it will hold personal
// data). Fails, and leaves the file alone, when it already exists. On failure errorText says why.
bool createDatabaseFile(const char* path, char* errorText, int errorCapacity);

// Creates every table and index of the program on the open connection (the server's schema on a
// server), the access log's and the failed logins' among them. 1 done, 0 failure (reported).
DbResult DoCreateSchema();

// The schema of a register from before the access log (DoCreateSchema without the log's tables),
// which DoAddAccessLog upgrades: the older of the two schemas a register may have.
DbResult DoCreateSchemaBeforeAccessLog();

// Gives a database made before the access log existed the log's tables, in one transaction;
// nothing else is touched. A database that has them is left alone, except that a server register
// without the function that appends to the log (data/access_log_append.sql) gets it. 1 when the
// database has the log (added tells whether its tables were added now), 0 on failure (reported;
// nothing was added).
DbResult DoAddAccessLog(bool* added = nullptr);

// Whether the open database has the access log's tables (and on a server the function that
// appends to it); a register from before the log has not. Nothing is shown either way.
bool DoHasAccessLog();
// Gives a database made before the failed logins were kept in the register their table, in one
// transaction, as DoAddAccessLog does for the log. 1 when the database has the table (added tells
// whether it was added now), 0 on failure (reported; nothing was added).
DbResult DoAddLoginFailures(bool* added = nullptr);
// DoAddAccessLog, then DoAddLoginFailures, as the program does before anyone logs in. On a server
// both are first found present by one statement: the common answer costs one round trip.
DbResult DoAddAccessLogAndLoginFailures();
// That statement: it fails when the log's tables, its append function or the failed logins'
// table are missing. Only for a server.
extern const char* const kAccessLogAndLoginFailuresPresentSql;
