// SPDX-License-Identifier: Apache-2.0
#include "csv.h"

namespace {

// The length of the UTF-8 sequence starting at text[i], or 0 when it is not well formed.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        return lead == 0 ? 0 : 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte, which rule out overlong forms,
    unsigned char high = 0xBF; // surrogates and code points above U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

} // namespace

int firstNonUtf8Line(std::string_view text) {
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            return line;
        }
        line += text[i] == '\n' ? 1 : 0;
        i += length;
    }
    return 0;
}

bool parseCsv(std::string_view text, char separator, std::vector<CsvRecord>& records,
              CsvProblem& problem) {
    records.clear();
    int line = 1;
    std::size_t i = 0;
    const auto atLineEnd = [&](std::size_t k) {
        return k >= text.size() || text[k] == '\n' ||
               (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n');
    };
    const auto skipLineEnd = [&] {
        if (i < text.size()) {
            i += text[i] == '\r' ? 2 : 1;
            ++line;
        }
    };
    while (i < text.size()) {
        if (atLineEnd(i)) { // a line without anything on it
            skipLineEnd();
            continue;
        }
        CsvRecord record;
        record.line = line;
        while (true) {
            std::string field;
            if (text[i] == '"') {
                const int opened = line;
                ++i;
                while (true) {
                    if (i >= text.size()) {
                        problem = {opened, "ett citattecken öppnas men stängs aldrig"};
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    line += text[i] == '\n' ? 1 : 0;
                    field += text[i++];
                }
                if (!atLineEnd(i) && text[i] != separator) {
                    problem = {line, "tecken efter ett avslutande citattecken (ett citattecken "
                                     "inne i ett fält skrivs dubbelt)"};
                    return false;
                }
            } else {
                while (!atLineEnd(i) && text[i] != separator) {
                    if (text[i] == '"') {
                        problem = {line, "citattecken mitt i ett fält utan citattecken (ett fält "
                                         "med citattecken ska stå inom citattecken)"};
                        return false;
                    }
                    field += text[i++];
                }
            }
            record.fields.push_back(std::move(field));
            if (atLineEnd(i)) {
                skipLineEnd();
                break;
            }
            ++i; // the separator; a separator at the end of a line leaves one empty field
            if (atLineEnd(i)) {
                record.fields.emplace_back();
                skipLineEnd();
                break;
            }
        }
        records.push_back(std::move(record));
    }
    return true;
}

std::string csvField(std::string_view value, char separator) {
    const bool quoted =
        value.find_first_of(std::string{separator, '"', '\n', '\r'}) != std::string_view::npos ||
        (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!quoted) {
        return std::string(value);
    }
    std::string field = "\"";
    for (const char c : value) {
        field += c;
        if (c == '"') {
            field += '"';
        }
    }
    return field + "\"";
}
