// SPDX-License-Identifier: Apache-2.0
#pragma once

// The stored password of a name, read in the same round trip as the name's failed logins just
// before the password is checked (the login's back-off asks first). Internal to the database
// layer.

#include "db.h"

#include <string>

// Kept for the next readPrefetchedPassword of the same name on the same connection, within a
// moment; read is DB_DONE with the stored value or DB_NO_ROW.
void keepPrefetchedPassword(const std::string& userName, DbResult read, const std::string& stored);
// The kept read of that name, taken once; false when there is none (another name, another
// connection, or too old).
bool takePrefetchedPassword(const std::string& userName, DbResult& read, std::string& stored);
