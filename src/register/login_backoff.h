// SPDX-License-Identifier: Apache-2.0
#pragma once

// Slows down the guessing of passwords: after three failed logins for a user name, each further
// attempt for that name must wait, 1 s after the third failure and twice as long after each
// further one, at most 30 s. A successful login clears the name's count. The count is kept in
// the register (login_failures.h), so that neither a restart of the program nor another
// workstation starts it afresh, and names are compared as user_name_key.h says: "PSYKOLOG" and
// "psykolog " count as "psykolog". Time comes from the program's clock (clock.h).
//
// When the register cannot keep the count (the reason has been shown), it is kept in memory for
// the rest of the run, so the wait holds at least as long as the program runs.

#include <cstdint>
#include <map>
#include <string>

class LoginBackoff {
  public:
    // Milliseconds the next attempt for the name must still wait; 0 when it may be made now.
    std::int64_t remainingWait(const std::string& userName) const;

    void recordFailure(const std::string& userName);
    void recordSuccess(const std::string& userName);

    // The wait after the given number of failures in a row, in milliseconds.
    static std::int64_t waitAfter(int failures);

  private:
    struct Failures {
        int count = 0;
        std::int64_t lastAt = 0;
    };
    std::map<std::string, Failures> unkept_; // by user name key, only when the register failed
    // The key whose count the register last answered as none: its success has nothing to clear,
    // which spares a login a round trip to a server.
    mutable std::string readWithoutFailures_;
};

// The one the login dialog uses, for the whole run of the program.
LoginBackoff& loginBackoff();
