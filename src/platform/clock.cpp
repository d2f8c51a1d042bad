// SPDX-License-Identifier: Apache-2.0
#include "clock.h"

#include <chrono>
#include <ctime>
#include <optional>

namespace {
std::optional<DateValue> fixedToday;
std::optional<std::int64_t> fixedSteadyMilliseconds;
std::optional<std::int64_t> fixedUtcMilliseconds;
} // namespace

DateValue today() {
    if (fixedToday) {
        return *fixedToday;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateValue{static_cast<std::int16_t>(local.tm_year + 1900),
                     static_cast<std::uint16_t>(local.tm_mon + 1),
                     static_cast<std::uint16_t>(local.tm_mday)};
}

void setFixedToday(DateValue date) {
    fixedToday = date;
}

void clearFixedToday() {
    fixedToday.reset();
}

std::int64_t steadyMilliseconds() {
    if (fixedSteadyMilliseconds) {
        return *fixedSteadyMilliseconds;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void setFixedSteadyMilliseconds(std::int64_t milliseconds) {
    fixedSteadyMilliseconds = milliseconds;
}

void clearFixedSteadyMilliseconds() {
    fixedSteadyMilliseconds.reset();
}

std::int64_t utcMilliseconds() {
    if (fixedUtcMilliseconds) {
        return *fixedUtcMilliseconds;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void setFixedUtcMilliseconds(std::int64_t milliseconds) {
    fixedUtcMilliseconds = milliseconds;
}

void clearFixedUtcMilliseconds() {
    fixedUtcMilliseconds.reset();
}
