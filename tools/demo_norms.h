// SPDX-License-Identifier: Apache-2.0
#pragma once

// Synthetic demonstration norms: deterministic rows for NORMGRUPPER, NORMER and INDEX_NORMER
// computed from the model described in data/README.md. Not for clinical use.

#include <string>
#include <vector>

inline constexpr const char* kDemoNormGroup = "Standardgrupp";

struct NormGroupRow {
    std::string delgrupp;
    int sekvens;
    std::string beskrivning;
};

struct NormRow {
    std::string delskala;
    std::string delgrupp;
    int S[19]; // S[0] is S1
};

struct IndexNormRow {
    std::string index;
    int skal;
    int ik;
    float perc;
    int low90, high90, low95, high95;
};

// The 13 age bands in age order, then "Referensgrupp": 14 rows in SEKVENS order.
std::vector<NormGroupRow> demoNormGroups();

// 266 rows: for each subgroup in SEKVENS order, the 19 DELSKALA keys in subscale order.
std::vector<NormRow> demoNormRows();

// VFI, PFI, AI, SI, HIK, GAI, each SKAL ascending over its whole range.
std::vector<IndexNormRow> demoIndexNormRows();
