// SPDX-License-Identifier: Apache-2.0
#include "export_log_detail.h"

#include <algorithm>
#include <charconv>

namespace {

// The ID list of one row stays within this many bytes, well inside the detail column's 500.
constexpr std::size_t kListBytes = 400;
constexpr const char* kListStart = "(ID ";

struct IdRange {
    std::int32_t first;
    std::int32_t last;
};

std::string rangeText(const IdRange& range) {
    return range.first == range.last
               ? std::to_string(range.first)
               : std::to_string(range.first) + "-" + std::to_string(range.last);
}

// Reads one integer at text; false when there is none.
bool readId(const char*& text, const char* end, std::int64_t& value) {
    const auto read = std::from_chars(text, end, value);
    if (read.ec != std::errc()) {
        return false;
    }
    text = read.ptr;
    return true;
}

} // namespace

std::vector<std::string> exportLogDetails(std::vector<std::int32_t> ids, const std::string& path) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::vector<IdRange> ranges;
    for (const std::int32_t id : ids) {
        if (!ranges.empty() && static_cast<std::int64_t>(ranges.back().last) + 1 == id) {
            ranges.back().last = id;
        } else {
            ranges.push_back({id, id});
        }
    }
    struct Part {
        std::string list;
        std::int64_t persons = 0;
    };
    std::vector<Part> parts(1);
    for (const IdRange& range : ranges) {
        const std::string text = rangeText(range);
        if (!parts.back().list.empty() && parts.back().list.size() + 2 + text.size() > kListBytes) {
            parts.emplace_back();
        }
        Part& part = parts.back();
        part.list += (part.list.empty() ? "" : ", ") + text;
        part.persons += static_cast<std::int64_t>(range.last) - range.first + 1;
    }
    std::vector<std::string> details;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string detail = std::to_string(parts[i].persons) + " testpersoner";
        if (!parts[i].list.empty()) {
            detail += std::string(" ") + kListStart + parts[i].list;
            if (parts.size() > 1) {
                detail += "; del " + std::to_string(i + 1) + " av " + std::to_string(parts.size());
            }
            detail += ")";
        }
        details.push_back(detail + " till " + path);
    }
    return details;
}

std::string exportLogDetailUnknown(const std::string& path) {
    return "okänt antal testpersoner (ID okända) till " + path;
}

bool exportLogDetailHolds(const std::string& detail, std::int32_t person) {
    // The count comes first and the path last, so the first "(ID " is the list's.
    const std::size_t start = detail.find(kListStart);
    if (start == std::string::npos) {
        // Nothing is listed: no persons at all, or a row written before the lists.
        return detail.rfind("0 testpersoner till ", 0) != 0;
    }
    const char* text = detail.data() + start + std::char_traits<char>::length(kListStart);
    const char* end = detail.data() + detail.size();
    for (;;) {
        std::int64_t first = 0;
        if (!readId(text, end, first)) {
            return true; // no list that can be read
        }
        std::int64_t last = first;
        if (text < end && *text == '-') {
            ++text;
            if (!readId(text, end, last)) {
                return true;
            }
        }
        if (first <= person && person <= last) {
            return true;
        }
        if (end - text >= 2 && text[0] == ',' && text[1] == ' ') {
            text += 2;
            continue;
        }
        return false; // the list ended, at ';' or ')', without the person
    }
}
