// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>

// A calendar date as the database stores and binds it. The layout matches ODBC's DATE_STRUCT
// (signed 16-bit year, unsigned 16-bit month and day), so a DateValue can be bound directly.
struct DateValue {
    std::int16_t year;
    std::uint16_t month;
    std::uint16_t day;
};

inline bool operator==(const DateValue& a, const DateValue& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}
