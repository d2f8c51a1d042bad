// SPDX-License-Identifier: Apache-2.0
#include "stavro.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr int kMonthLength[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kVersion = 50512;

bool isLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int datePart(const char* text, int start, int count) {
    char part[8];
    const int length = static_cast<int>(std::strlen(text));
    // Characters past the end of the text make the part shorter or empty.
    if (start > length) {
        start = length;
    }
    DoStrMid(part, text, start, count);
    return std::atoi(part);
}

int scramble(char* text, int key1, int key2) {
    if (text == nullptr) {
        return -1;
    }
    const std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i < length; ++i) {
        // Only the low five bits matter; unsigned arithmetic keeps the wrap-around well defined.
        const unsigned mask = ((static_cast<unsigned>(key1) + static_cast<unsigned>(i)) *
                               static_cast<unsigned>(key2)) &
                              31u;
        text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ mask);
    }
    return 0;
}

} // namespace

extern "C" {

int DoCheckIntDate(int date) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", date);
    const int year = datePart(text, 0, 4);
    const int month = datePart(text, 4, 2);
    const int day = datePart(text, 6, 2);
    // A negative number gives a year of 0 or less (its sign is the first character): never a
    // date, not even the 29th of February of a "leap year" such as -520.
    if (year > 0 && month == 2 && isLeapYear(year) && day == 29) {
        return 1;
    }
    if (year > 0 && month >= 1 && month <= 12 && day >= 1 && day <= kMonthLength[month]) {
        return 1;
    }
    return 0;
}

char* DoStrMid(char* destination, const char* source, int start, int count) {
    if (destination == nullptr || source == nullptr) {
        return destination;
    }
    if (start < 0 || count < 0) {
        destination[0] = '\0';
        return destination;
    }
    // A start past the end of the source gives an empty text; nothing beyond the source's
    // terminator is read.
    if (strnlen(source, static_cast<std::size_t>(start)) < static_cast<std::size_t>(start)) {
        destination[0] = '\0';
        destination[count] = '\0';
        return destination;
    }
    const char* from = source + start;
    int copied = 0;
    while (copied < count && from[copied] != '\0') {
        destination[copied] = from[copied];
        ++copied;
    }
    // Like the original, the terminator goes at destination[count]; a short copy is terminated
    // where it stopped as well, so no unset bytes are left inside the text.
    destination[copied] = '\0';
    destination[count] = '\0';
    return destination;
}

int DoEnCryptStr(char* text, int key1, int key2) {
    return scramble(text, key1, key2);
}

int DoDeCryptStr(char* text, int key1, int key2) {
    return scramble(text, key1, key2);
}

int cDoDllVersion(void) {
    return kVersion;
}

int cDoRound(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr int kLowest = std::numeric_limits<int>::min();
    constexpr int kHighest = std::numeric_limits<int>::max();
    if (value <= kLowest) {
        return kLowest;
    }
    if (value >= kHighest) {
        return kHighest;
    }
    const int truncated = static_cast<int>(value);
    const double fraction = value - truncated;
    const bool odd = truncated % 2 != 0;
    const bool up = odd ? fraction >= 0.5 : fraction > 0.4999;
    return up ? truncated + 1 : truncated;
}
}
