// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"

#include <cstdint>
#include <string>

// The failed logins in a row per user name, kept in the register (data/login_failures.sql) so
// that a restart of the program, or another workstation, does not clear them. Names are compared
// by userNameKey (user_name_key.h).

struct LoginFailures {
    std::int32_t count = 0;
    std::int64_t lastAtMs = 0; // milliseconds since 1970-01-01 UTC
};

// The name's failures; none when it has no row. 1 done, 0 on failure (reported).
DbResult DoReadLoginFailures(const std::string& userName, LoginFailures& failures);

// Counts one more failure for the name at the given time, in one transaction; failures is the
// count after it. 1 done, 0 on failure (reported).
DbResult DoRecordLoginFailure(const std::string& userName, std::int64_t atMs,
                              LoginFailures& failures);

// Forgets the name's failures (after a successful login). 1 done, 0 on failure (reported).
DbResult DoClearLoginFailures(const std::string& userName);
