// SPDX-License-Identifier: Apache-2.0
#include "report_graphic_values.h"

#include <charconv>

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

GraphicValue splitItem(std::string_view item) {
    item = trimmed(item);
    const std::size_t space = item.rfind(' ');
    if (space == std::string_view::npos) {
        return {std::string(item), std::string()};
    }
    return {std::string(trimmed(item.substr(0, space))), std::string(item.substr(space + 1))};
}

} // namespace

GraphicValues splitGraphicLabel(std::string_view label) {
    GraphicValues split;
    const std::size_t colon = label.find(':');
    if (colon == std::string_view::npos) {
        split.title = std::string(trimmed(label));
        return split;
    }
    split.title = std::string(trimmed(label.substr(0, colon)));
    std::string_view rest = label.substr(colon + 1);
    while (!trimmed(rest).empty()) {
        const std::size_t separator = rest.find(", ");
        const std::string_view item =
            separator == std::string_view::npos ? rest : rest.substr(0, separator);
        if (!trimmed(item).empty()) {
            split.values.push_back(splitItem(item));
        }
        if (separator == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(separator + 2);
    }
    return split;
}

bool graphicValueNumber(std::string_view value, double& number) {
    std::string text(value);
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        }
    }
    // A minus sign as painted (U+2212) reads as the ASCII one.
    if (text.starts_with("\xE2\x88\x92")) {
        text.replace(0, 3, "-");
    }
    if (text.empty()) {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, number);
    return result.ec == std::errc() && result.ptr == end;
}

GraphScale graphScale(double lowest, double highest) {
    if (lowest >= 1 && highest <= 19) {
        return {1, 19, true, 10};
    }
    if (lowest >= 40 && highest <= 160) {
        return {40, 160, true, 100};
    }
    if (highest > lowest) {
        return {lowest, highest, false, 0};
    }
    return {lowest - 1, highest + 1, false, 0};
}
