// SPDX-License-Identifier: Apache-2.0
#include "log_formats.h"

#include <cstdio>
#include <string_view>

namespace {

// The length of the well-formed UTF-8 letter at text[at] (no overlong form, no surrogate, at
// most U+10FFFF); 0 when the bytes there are no such letter.
std::size_t utf8Letter(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    const auto continuation = [&](std::size_t i) { return (byte(i) & 0xC0u) == 0x80u; };
    if (lead < 0x80u) {
        return 1;
    }
    if (lead >= 0xC2u && lead <= 0xDFu) {
        return continuation(1) ? 2 : 0;
    }
    if (lead >= 0xE0u && lead <= 0xEFu) {
        const unsigned second = byte(1);
        const bool allowed =
            (lead != 0xE0u || second >= 0xA0u) && (lead != 0xEDu || second < 0xA0u);
        return allowed && continuation(1) && continuation(2) ? 3 : 0;
    }
    if (lead >= 0xF0u && lead <= 0xF4u) {
        const unsigned second = byte(1);
        const bool allowed =
            (lead != 0xF0u || second >= 0x90u) && (lead != 0xF4u || second < 0x90u);
        return allowed && continuation(1) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

// \u00HH for JSON and the table's C1 controls, \xHH for the table's single bytes.
std::string unicodeEscape(unsigned value) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", value);
    return escaped;
}

std::string byteEscape(unsigned value) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", value);
    return escaped;
}

// A JSON string: every control character escaped, and each byte that is no part of a UTF-8
// letter replaced by U+FFFD, so that the line is valid JSON whatever the database holds.
std::string jsonText(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t letter = utf8Letter(text, at);
        if (letter == 0) {
            quoted += "\\ufffd";
            ++at;
            continue;
        }
        const char c = text[at];
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20u || c == '\x7f') {
                quoted += unicodeEscape(static_cast<unsigned char>(c));
            } else {
                quoted.append(text, at, letter);
            }
        }
        at += letter;
    }
    return quoted + "\"";
}

// A CSV field (RFC 4180). A cell a spreadsheet would read as a formula (beginning with = + - @,
// a tab or a carriage return) is quoted with a single quote before it, so that it stays text.
std::string csvField(const std::string& text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    if (!formula && text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = formula ? "\"'" : "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// The text as a person can read it on a terminal: a backslash doubled, the usual control
// characters as \n, \r and \t, any other control character (C0, DEL, C1) and each byte that is
// no part of a UTF-8 letter as \xHH or \u00HH. Nothing of the stored text can move the cursor,
// start a line or change colours, and the escaped form reads back to one text only.
std::string shownText(const std::string& text) {
    std::string shown;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t letter = utf8Letter(text, at);
        const auto byte = static_cast<unsigned char>(text[at]);
        if (letter == 0) {
            shown += byteEscape(byte);
            ++at;
            continue;
        }
        if (letter == 2 && byte == 0xC2u && static_cast<unsigned char>(text[at + 1]) < 0xA0u) {
            shown += unicodeEscape(static_cast<unsigned char>(text[at + 1]));
        } else if (byte == '\\') {
            shown += "\\\\";
        } else if (byte == '\n') {
            shown += "\\n";
        } else if (byte == '\r') {
            shown += "\\r";
        } else if (byte == '\t') {
            shown += "\\t";
        } else if (byte < 0x20u || byte == 0x7fu) {
            shown += byteEscape(byte);
        } else {
            shown.append(text, at, letter);
        }
        at += letter;
    }
    return shown;
}

std::string personText(const AccessLogRow& row) {
    return row.person ? std::to_string(*row.person) : row.storedPerson;
}

// The text padded with blanks to the width in letters (UTF-8), and one blank between columns.
std::string column(const std::string& text, std::size_t width) {
    std::size_t letters = 0;
    for (const char c : text) {
        letters += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
    }
    return text + std::string(letters < width ? width - letters : 0, ' ') + " ";
}

struct TableColumn {
    const char* heading;
    std::size_t width;
};
constexpr TableColumn kColumns[] = {
    {"Nr", 6},       {"Tid (UTC)", 24}, {"Användare", 14}, {"Arbetsstation", 14},
    {"Program", 10}, {"Händelse", 23},  {"Person", 7}};

std::string tableLine(const std::string (&cells)[7], const std::string& last) {
    std::string line;
    for (int i = 0; i < 7; ++i) {
        line += column(cells[i], kColumns[i].width);
    }
    return line + last + "\n";
}

// The person's ID as a number, null when there is none, or the stored text as a string when it
// is no 32-bit integer.
std::string jsonPerson(const AccessLogRow& row) {
    if (row.person) {
        return std::to_string(*row.person);
    }
    return row.storedPerson.empty() ? "null" : jsonText(row.storedPerson);
}

} // namespace

std::string accessLogJsonLine(const AccessLogRow& row) {
    return "{\"seq\":" + std::to_string(row.seq) + ",\"time\":" + jsonText(row.time) +
           ",\"user\":" + jsonText(row.user) + ",\"workstation\":" + jsonText(row.workstation) +
           ",\"program\":" + jsonText(row.program) + ",\"event\":" + jsonText(row.event) +
           ",\"person\":" + jsonPerson(row) + ",\"detail\":" + jsonText(row.detail) +
           ",\"hash\":" + jsonText(row.hash) + "}\n";
}

std::string accessLogCsvHeader() {
    return "seq,time,user,workstation,program,event,person,detail,hash\r\n";
}

std::string accessLogCsvLine(const AccessLogRow& row) {
    return std::to_string(row.seq) + "," + csvField(row.time) + "," + csvField(row.user) + "," +
           csvField(row.workstation) + "," + csvField(row.program) + "," + csvField(row.event) +
           "," + csvField(personText(row)) + "," + csvField(row.detail) + "," + csvField(row.hash) +
           "\r\n";
}

std::string accessLogTableHeader() {
    std::string cells[7];
    for (int i = 0; i < 7; ++i) {
        cells[i] = kColumns[i].heading;
    }
    return tableLine(cells, "Detalj");
}

std::string accessLogTableLine(const AccessLogRow& row) {
    const char* name = accessEventNameOfCode(row.event);
    const std::string cells[7] = {
        std::to_string(row.seq),   shownText(row.time),
        shownText(row.user),       shownText(row.workstation),
        shownText(row.program),    name != nullptr ? name : shownText(row.event),
        shownText(personText(row))};
    return tableLine(cells, shownText(row.detail));
}
