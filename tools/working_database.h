#pragma once

// Connects to the database file in the working directory with the program's own credentials.
// false when there is no file (said on standard error) or the driver refuses it (its message has
// been shown); the connection is then closed again.
bool connectWorkingDatabase();
