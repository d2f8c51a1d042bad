// SPDX-License-Identifier: Apache-2.0
#include "norm_fingerprint.h"
#include "norm_files.h"

#include <sodium.h>

#include <algorithm>
#include <vector>

namespace {

// Fields are separated by a unit separator and rows end with a line feed, characters that no
// checked norm text holds, so that no two different sets give the same text.
constexpr char kField = '\x1f';

void addField(std::string& row, const std::string& value) {
    row += value;
    row += kField;
}

std::vector<std::string> groupRows(const NormTables& tables) {
    std::vector<std::string> rows;
    for (const NormGroupEntry& entry : tables.groups) {
        std::string row;
        addField(row, entry.normgrupp);
        addField(row, entry.delgrupp);
        addField(row, std::to_string(entry.sekvens));
        addField(row, entry.beskrivning);
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> normRows(const NormTables& tables) {
    std::vector<std::string> rows;
    for (const NormEntry& entry : tables.norms) {
        std::string row;
        addField(row, entry.normgrupp);
        addField(row, entry.delskala);
        addField(row, entry.delgrupp);
        for (const std::int32_t bound : entry.S) {
            addField(row, std::to_string(bound));
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> indexNormRows(const NormTables& tables) {
    std::vector<std::string> rows;
    for (const IndexNormEntry& entry : tables.indexNorms) {
        std::string row;
        addField(row, entry.normgrupp);
        addField(row, entry.index);
        addField(row, std::to_string(entry.skal));
        addField(row, std::to_string(entry.ik));
        addField(row, floatText(entry.perc));
        for (const std::int32_t bound :
             {entry.konfLow90, entry.konfHigh90, entry.konfLow95, entry.konfHigh95}) {
            addField(row, std::to_string(bound));
        }
        rows.push_back(row);
    }
    return rows;
}

// Each table under its name, its rows sorted: the keys lead every row, so sorting the whole rows
// sorts by key.
void addTable(std::string& text, const char* name, std::vector<std::string> rows) {
    std::sort(rows.begin(), rows.end());
    text += name;
    text += '\n';
    for (const std::string& row : rows) {
        text += row;
        text += '\n';
    }
}

} // namespace

std::string normTablesFingerprint(const NormTables& tables) {
    std::string text;
    addTable(text, kNormGroupTable, groupRows(tables));
    addTable(text, kNormTable, normRows(tables));
    addTable(text, kIndexNormTable, indexNormRows(tables));
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0f];
    }
    return hex;
}
