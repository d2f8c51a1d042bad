// SPDX-License-Identifier: Apache-2.0
#include "file_time_stamp.h"

#include <initializer_list>

namespace {

// The number in text[at, at + count), all digits; -1 otherwise.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return -1;
    }
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool charAt(std::string_view text, std::size_t at, char c) {
    return at < text.size() && text[at] == c;
}

struct Parts {
    int year = -1, month = -1, day = -1, hour = -1, minute = -1, second = 0;
};

std::optional<std::time_t> timeOf(const Parts& p, bool utc) {
    if (p.year < 1970 || p.month < 1 || p.month > 12 || p.day < 1 || p.day > 31 || p.hour < 0 ||
        p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 60) {
        return std::nullopt;
    }
    std::tm parts{};
    parts.tm_year = p.year - 1900;
    parts.tm_mon = p.month - 1;
    parts.tm_mday = p.day;
    parts.tm_hour = p.hour;
    parts.tm_min = p.minute;
    parts.tm_sec = p.second;
    parts.tm_isdst = -1;
    return utc ? timegm(&parts) : std::mktime(&parts);
}

} // namespace

std::string fileTimeStamp(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H%M%S", &local);
    return text;
}

std::optional<FileTimeStamp> readFileTimeStamp(std::string_view text) {
    // ÅÅÅÅ-MM-DDTHHMM, with SS after it in the current style.
    if (charAt(text, 4, '-') && charAt(text, 7, '-') && charAt(text, 10, 'T')) {
        Parts p{digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2),
                digitsAt(text, 11, 2), digitsAt(text, 13, 2)};
        std::size_t length = 15;
        if (const int second = digitsAt(text, 15, 2); second >= 0) {
            p.second = second;
            length = 17;
        }
        if (const auto when = timeOf(p, false)) {
            return FileTimeStamp{*when, length};
        }
        return std::nullopt;
    }
    // ÅÅÅÅMMDD-HHMMSS, in UTC.
    if (charAt(text, 8, '-')) {
        const Parts p{digitsAt(text, 0, 4), digitsAt(text, 4, 2),  digitsAt(text, 6, 2),
                      digitsAt(text, 9, 2), digitsAt(text, 11, 2), digitsAt(text, 13, 2)};
        if (const auto when = timeOf(p, true)) {
            return FileTimeStamp{*when, 15};
        }
    }
    return std::nullopt;
}
