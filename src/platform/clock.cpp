#include "clock.h"

#include <ctime>
#include <optional>

namespace {
std::optional<DateValue> fixedToday;
}

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
