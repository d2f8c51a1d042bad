#pragma once

#include "db.h"

// Creates an empty database file readable and writable by the owner only (it will hold personal
// data). Fails, and leaves the file alone, when it already exists. On failure errorText says why.
bool createDatabaseFile(const char* path, char* errorText, int errorCapacity);

// Creates every table and index of the program on the open connection (the server's schema on a
// server). 1 done, 0 failure
// (reported).
DbResult DoCreateSchema();
