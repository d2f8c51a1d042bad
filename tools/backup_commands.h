#pragma once

#include <string>
#include <vector>

// rivo-admin backup (FILE | --folder FOLDER [--keep N]) [--encrypt [--passphrase-file FILE]]:
// a consistent copy of the register, the same as the "Säkerhetskopia" button makes, optionally
// encrypted with a passphrase. Exit status as in exit_status.h.
int runBackupCommand(const std::vector<std::string>& args);

// rivo-admin restore FILE [--passphrase-file FILE]: checks a copy and puts it in place of the
// register, keeping the register it replaces beside it. Exit status as in exit_status.h.
int runRestoreCommand(const std::vector<std::string>& args);
