#pragma once

// Checks on a database opened on its own (a register copy about to replace the register, or the
// register about to be replaced), quietly: nothing is shown, each problem comes back as text for
// the caller to report. SQLite only.

#include <cstdint>
#include <string>
#include <vector>

struct SchemaTable {
    std::string name;
    std::vector<std::string> columns; // as written in the schema, without quotes
};

// The tables and their columns as data/schema.sql creates them.
std::vector<SchemaTable> schemaTables();

struct RegisterFacts {
    std::int64_t persons = 0;
};

// true when the open database is a whole register: SQLite's integrity check finds nothing, every
// table and column of the schema is there, and the norm source row (NORMKALLA, RECNO 1) exists.
// false with a Swedish message in problem otherwise.
bool DoCheckRegister(RegisterFacts& facts, std::string& problem);

enum class FileClaim { Claimed, Busy, Failed };

// Takes SQLite's exclusive lock on the open database file, so that no other program reads or
// writes it until DoReleaseDatabaseFile; a hot journal left by a crashed writer is rolled back on
// the way. Busy when another program still holds the file after the connection's timeout; Failed
// (with the driver's message) for anything else, such as a file that is no database.
FileClaim DoClaimDatabaseFile(std::string& message);
void DoReleaseDatabaseFile();
