// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "date_value.h"

#include <cstdint>

// "Today" for the whole program. Everything that needs the current date asks here, so tests can
// fix the day.
DateValue today();

// Makes today() return the given date until clearFixedToday() is called.
void setFixedToday(DateValue date);
void clearFixedToday();

// Milliseconds on a clock that only goes forward, for waits. Tests set it, so that nothing sleeps.
std::int64_t steadyMilliseconds();

// Makes steadyMilliseconds() return the given value until clearFixedSteadyMilliseconds().
void setFixedSteadyMilliseconds(std::int64_t milliseconds);
void clearFixedSteadyMilliseconds();

// Milliseconds since 1970-01-01 UTC, for times kept across runs of the program (the failed
// logins). Tests set it.
std::int64_t utcMilliseconds();

// Makes utcMilliseconds() return the given value until clearFixedUtcMilliseconds().
void setFixedUtcMilliseconds(std::int64_t milliseconds);
void clearFixedUtcMilliseconds();
