// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data_source.h"

// Connects to the register the data-source settings name (data_source.h): by default the database
// file in the working directory, with the program's own credentials. false when the settings
// cannot be used or there is no file (said on standard error) or the driver refuses it (its
// message has been shown); the connection is then closed again. A command that writes access-log
// rows asks for the log: a register from before it is then refused with the advice to run
// `rivo-admin upgrade-db`, instead of the database's own error at the first row.
// A command that reads every person and little else (export) connects for long reads
// (RegisterReads in data_source.h).
enum class AccessLogNeed { NotAsked, Required };
bool connectWorkingDatabase(AccessLogNeed need = AccessLogNeed::NotAsked,
                            RegisterReads reads = RegisterReads::Short);
