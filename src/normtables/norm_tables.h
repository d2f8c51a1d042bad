// SPDX-License-Identifier: Apache-2.0
#pragma once

// The three norm tables as plain rows: what rivo-admin reads from files or from the database,
// checks, writes into the database and exports. No database or window code.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kNormBoundCount = 19; // S1 to S19

// Each row knows where it came from, for the messages about it: line is its line in a file (0 for
// a row read from the database), and unreadable names the first number column of a stored row
// that was empty or no 32-bit number (empty when every one was read).
struct NormGroupEntry {
    std::string normgrupp;
    std::string delgrupp;
    std::int32_t sekvens = 0;
    std::string beskrivning;
    int line = 0;
    std::string unreadable;
};

struct NormEntry {
    std::string normgrupp;
    std::string delskala;
    std::string delgrupp;
    std::int32_t S[kNormBoundCount] = {};
    int line = 0;
    std::string unreadable;
};

struct IndexNormEntry {
    std::string normgrupp;
    std::string index;
    std::int32_t skal = 0;
    std::int32_t ik = 0;
    float perc = 0.0f;
    std::int32_t konfLow90 = 0;
    std::int32_t konfHigh90 = 0;
    std::int32_t konfLow95 = 0;
    std::int32_t konfHigh95 = 0;
    int line = 0;
    std::string unreadable;
};

struct NormTables {
    std::vector<NormGroupEntry> groups;     // NORMGRUPPER
    std::vector<NormEntry> norms;           // NORMER
    std::vector<IndexNormEntry> indexNorms; // INDEX_NORMER
};

// The tables' names, which are also the file names of the exported set (with ".csv").
inline constexpr const char* kNormGroupTable = "NORMGRUPPER";
inline constexpr const char* kNormTable = "NORMER";
inline constexpr const char* kIndexNormTable = "INDEX_NORMER";
