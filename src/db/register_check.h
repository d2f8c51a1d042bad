// SPDX-License-Identifier: Apache-2.0
#pragma once

// Checks on a database opened on its own (a register copy about to replace the register, or the
// register about to be replaced), quietly: nothing is shown, each problem comes back as text for
// the caller to report. SQLite only.

#include "register_schema.h"

#include <cstdint>
#include <string>
#include <vector>

struct RegisterFacts {
    std::int64_t persons = 0;
    // The copy has the schema from before the access log; it is upgraded as upgrade-db does.
    bool beforeAccessLog = false;
};

// Every reason why the open database may not become the register, one Swedish message each;
// empty when it may. In this order, each step only on what passed the one before: SQLite's
// integrity check; exactly the schema of one of the known versions (knownSchemaShapes), nothing
// more and nothing less; the access log's chain; the norm tables' rules (those of check-norms)
// and the norm source row.
std::vector<std::string> DoCheckRegisterCopy(const std::vector<SchemaShape>& known,
                                             RegisterFacts& facts);

enum class FileClaim { Claimed, Busy, Failed };

// Takes SQLite's exclusive lock on the open database file, so that no other program reads or
// writes it until DoReleaseDatabaseFile; a hot journal left by a crashed writer is rolled back on
// the way. Busy when another program still holds the file after the connection's timeout; Failed
// (with the driver's message) for anything else, such as a file that is no database.
FileClaim DoClaimDatabaseFile(std::string& message);
void DoReleaseDatabaseFile();
