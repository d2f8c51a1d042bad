// SPDX-License-Identifier: Apache-2.0
#include "stored_id.h"

#include <charconv>
#include <cstdint>

namespace {

// Digits with an optional sign and blanks around them: an integer, whatever its size.
bool integerText(const std::string& text) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) {
        return false;
    }
    if (text[at] == '+' || text[at] == '-') {
        ++at;
    }
    const std::size_t digitsEnd = text.find_first_not_of("0123456789", at);
    const std::size_t end = digitsEnd == std::string::npos ? text.size() : digitsEnd;
    return end > at && text.find_first_not_of(' ', end) == std::string::npos;
}

std::string shown(const char* stored) {
    std::string text = stored;
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20u || c == '\x7f') {
            c = '?';
        }
    }
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? text : text.substr(first, last - first + 1);
}

} // namespace

std::string storedIdName(const char* stored) {
    if (stored == nullptr || *stored == '\0') {
        return "ID NULL";
    }
    const std::string text = shown(stored);
    return integerText(text) ? "ID " + text : "ID \"" + text + "\"";
}

std::string unreadableIdMessage(const char* stored, const std::string& consequence) {
    std::string reason;
    if (stored == nullptr || *stored == '\0') {
        reason = "saknas i databasen (NULL)";
    } else if (integerText(shown(stored))) {
        reason = "ryms inte i programmets ID:n, som är heltal från 0 till 2147483647";
    } else {
        reason = "är inget heltal";
    }
    return storedIdName(stored) + " " + reason + "; " + consequence + ". Rätta ID:t i databasen.";
}

std::string personIdArgumentProblem(const std::string& option, const std::string& text) {
    std::int32_t id = 0;
    const char* end = text.data() + text.size();
    const auto read = std::from_chars(text.data(), end, id);
    if (read.ec == std::errc() && read.ptr == end && id >= 0) {
        return "";
    }
    if (integerText(text) && text.find_first_of(" +") == std::string::npos) {
        return option + " " + text +
               " ryms inte: programmets ID:n är heltal från 0 till 2147483647.";
    }
    return option + " tar ett ID, ett heltal från 0 till 2147483647: " + text;
}
