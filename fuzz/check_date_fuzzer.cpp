// SPDX-License-Identifier: Apache-2.0
// The date check of libstavro on any integer: never a crash, and for every eight-digit number
// the answer of the calendar itself. A negative number is never a date.

#include "stavro.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(int)) {
        return 0;
    }
    int date = 0;
    std::memcpy(&date, data, sizeof date);
    const int answer = DoCheckIntDate(date);
    if (answer != 0 && answer != 1) {
        std::abort();
    }
    if (date < 0 && answer != 0) {
        std::abort();
    }
    if (date >= 10000000 && date <= 99999999) {
        const std::chrono::year_month_day calendar{std::chrono::year{date / 10000},
                                                   std::chrono::month{unsigned(date / 100 % 100)},
                                                   std::chrono::day{unsigned(date % 100)}};
        if (answer != (calendar.ok() ? 1 : 0)) {
            std::abort();
        }
    }
    return 0;
}
