// SPDX-License-Identifier: Apache-2.0
#include "log_formats.h"

#include <cstdio>

namespace {

std::string jsonText(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
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
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string personText(const AccessLogRow& row) {
    return row.person ? std::to_string(*row.person) : std::string();
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

} // namespace

std::string accessLogJsonLine(const AccessLogRow& row) {
    return "{\"seq\":" + std::to_string(row.seq) + ",\"time\":" + jsonText(row.time) +
           ",\"user\":" + jsonText(row.user) + ",\"workstation\":" + jsonText(row.workstation) +
           ",\"program\":" + jsonText(row.program) + ",\"event\":" + jsonText(row.event) +
           ",\"person\":" + (row.person ? std::to_string(*row.person) : "null") +
           ",\"detail\":" + jsonText(row.detail) + ",\"hash\":" + jsonText(row.hash) + "}\n";
}

std::string accessLogCsvHeader() {
    return "seq,time,user,workstation,program,event,person,detail,hash\r\n";
}

std::string accessLogCsvLine(const AccessLogRow& row) {
    return std::to_string(row.seq) + "," + csvField(row.time) + "," + csvField(row.user) + "," +
           csvField(row.workstation) + "," + csvField(row.program) + "," + csvField(row.event) +
           "," + personText(row) + "," + csvField(row.detail) + "," + csvField(row.hash) + "\r\n";
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
        std::to_string(row.seq), row.time,    row.user,
        row.workstation,         row.program, name != nullptr ? name : row.event,
        personText(row)};
    return tableLine(cells, row.detail);
}
