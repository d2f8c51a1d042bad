// SPDX-License-Identifier: Apache-2.0
#pragma once

inline constexpr int kAgeBandCount = 13;

// The program's age bands, youngest first; each is the DELGRUPP key of its norm rows, and its
// position indexes every age-dependent table of the analyses.
inline constexpr const char* kAgeBands[kAgeBandCount] = {
    "16-17 år", "18-19 år", "20-24 år", "25-29 år", "30-34 år", "35-44 år", "45-54 år",
    "55-64 år", "65-69 år", "70-74 år", "75-79 år", "80-84 år", "85-90 år"};

// The subgroup of the reference scaled scores (ages 20-34).
inline constexpr const char* kReferenceGroup = "Referensgrupp";
