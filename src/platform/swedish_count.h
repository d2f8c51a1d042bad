// SPDX-License-Identifier: Apache-2.0
#pragma once

// A count with its noun in Swedish singular or plural: "1 rad", "2 rader", "0 rader".

#include <string>
#include <string_view>

inline std::string swedishCount(long long count, std::string_view singular,
                                std::string_view plural) {
    std::string text = std::to_string(count);
    text += ' ';
    text += count == 1 || count == -1 ? singular : plural;
    return text;
}
