// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <string>
#include <vector>

// rivo-admin log [--person ID] [--user NAME] [--from YYYY-MM-DD] [--to YYYY-MM-DD]
//                [--json FILE|-] [--csv FILE|-]
// The access log of the register, oldest row first: a Swedish table on standard output, or one
// JSON object per line (keys seq, time, user, workstation, program, event, person, detail, hash),
// or CSV with those columns. Files are written through the safe writer.
// rivo-admin log verify: recomputes the chain; exit 0 with the number of sound rows, 1 naming the
// first row that does not match.
int runLogCommand(const std::vector<std::string>& args);

// rivo-admin upgrade-db: gives a register made before the access log its tables.
int runUpgradeDbCommand(const std::vector<std::string>& args);
