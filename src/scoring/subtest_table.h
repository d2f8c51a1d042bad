// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "test_occasion.h"

// Positions of the 23 raw scores, in TESTDATA column order.
enum RawScore : int {
    RAW_BLOCKMONSTER = 0,
    RAW_BUT,
    RAW_LIKHETER,
    RAW_SIFFERREPETITION,
    RAW_SRFRAM,
    RAW_SRLFRAM,
    RAW_SRBAK,
    RAW_SRLBAK,
    RAW_SS,
    RAW_SSO,
    RAW_MATRISER,
    RAW_ORDFORRAD,
    RAW_ARITMETIK,
    RAW_SYMBOLLETNING,
    RAW_VISUELLAPUSSEL,
    RAW_INFORMATION,
    RAW_KODNING,
    RAW_BSS,
    RAW_BO,
    RAW_FIGURVIKTER,
    RAW_FORSTAELSE,
    RAW_OVERSTRYKNING,
    RAW_BILDKOMPLETTERING,
};

// Positions of the 19 scaled scores (the norm subscales).
enum Subscale : int {
    SUB_BLOCKMONSTER = 0,
    SUB_BUT,
    SUB_LIKHETER,
    SUB_SIFFERREPETITION,
    SUB_SF,
    SUB_SB,
    SUB_SS,
    SUB_MATRISER,
    SUB_ORDFORRAD,
    SUB_ARITMETIK,
    SUB_SYMBOLLETNING,
    SUB_VISUELLAPUSSEL,
    SUB_INFORMATION,
    SUB_KODNING,
    SUB_BSS,
    SUB_FIGURVIKTER,
    SUB_FORSTAELSE,
    SUB_OVERSTRYKNING,
    SUB_BILDKOMPLETTERING,
};

inline constexpr int kNoSubscale = -1;

// How a raw score takes part in the index computation.
enum class IndexRole {
    Core,
    Substitute,       // replaces one missing core subtest of its index
    SecondSubstitute, // used when the first substitute cannot be
    ProcessScore,     // scaled but in no index
    Span,             // not scaled; read raw by the process analysis
};

struct SubtestInfo {
    const char* name;   // as shown
    int nameStringId;   // id of the name in the text table
    const char* column; // TESTDATA column
    int formMax;        // highest raw score the form accepts; 0 when the score is not entered
    int subscale;       // Subscale, or kNoSubscale for the four spans
    const char* exportKey;
    IndexRole role;
    int index; // IndexKey the subtest belongs to, or -1
};

inline constexpr SubtestInfo kSubtests[kRawScoreCount] = {
    {"Blockmönster", 61, "blockmonster", 66, SUB_BLOCKMONSTER, "S_Bl", IndexRole::Core, PFI},
    {"Blockmönster Utan Tidsbonus", 260, "BUT", 48, SUB_BUT, "S_BUT", IndexRole::ProcessScore, -1},
    {"Likheter", 62, "likheter", 36, SUB_LIKHETER, "S_Li", IndexRole::Core, VFI},
    {"Sifferrepetition", 63, "sifferrepetition", 0, SUB_SIFFERREPETITION, "S_Sr", IndexRole::Core,
     AI},
    {"Sifferrepetition Framlänges", 261, "srfram", 16, SUB_SF, "S_SF", IndexRole::ProcessScore, -1},
    {"Sifferrepetition Framlänges Omfång", 262, "srlfram", 9, kNoSubscale, nullptr, IndexRole::Span,
     -1},
    {"Sifferrepetition Baklänges", 263, "srbak", 16, SUB_SB, "S_SB", IndexRole::ProcessScore, -1},
    {"Sifferrepetition Baklänges Omfång", 264, "srlbak", 8, kNoSubscale, nullptr, IndexRole::Span,
     -1},
    {"Sifferrepetition Sekvensering", 265, "SS", 16, SUB_SS, "S_SS", IndexRole::ProcessScore, -1},
    {"Sifferrepetition Sekvensering Omfång", 266, "SSO", 9, kNoSubscale, nullptr, IndexRole::Span,
     -1},
    {"Matriser", 64, "Matriser", 26, SUB_MATRISER, "S_Ma", IndexRole::Core, PFI},
    {"Ordförråd", 65, "Ordforrad", 57, SUB_ORDFORRAD, "S_Or", IndexRole::Core, VFI},
    {"Aritmetik", 66, "aritmetik", 22, SUB_ARITMETIK, "S_Ar", IndexRole::Core, AI},
    {"Symbolletning", 67, "symbolletning", 60, SUB_SYMBOLLETNING, "S_Sy", IndexRole::Core, SI},
    {"Visuella pussel", 68, "visuellapussel", 26, SUB_VISUELLAPUSSEL, "S_Vp", IndexRole::Core, PFI},
    {"Information", 69, "information", 26, SUB_INFORMATION, "S_In", IndexRole::Core, VFI},
    {"Kodning", 70, "kodning", 135, SUB_KODNING, "S_Ko", IndexRole::Core, SI},
    {"Bokstavs-siffer-serier", 71, "BSS", 30, SUB_BSS, "S_Bs", IndexRole::Substitute, AI},
    {"Bokstavs-siffer-serier Omfång", 267, "BO", 8, kNoSubscale, nullptr, IndexRole::Span, -1},
    {"Figurvikter", 72, "figurvikter", 27, SUB_FIGURVIKTER, "S_Fv", IndexRole::Substitute, PFI},
    {"Förståelse", 73, "forstaelse", 36, SUB_FORSTAELSE, "S_Fo", IndexRole::Substitute, VFI},
    {"Överstrykning", 74, "overstrykning", 72, SUB_OVERSTRYKNING, "S_Os", IndexRole::Substitute,
     SI},
    {"Bildkomplettering", 75, "bildkomplettering", 24, SUB_BILDKOMPLETTERING, "S_Bk",
     IndexRole::SecondSubstitute, PFI},
};

// The DELSKALA key of each subscale, in Subscale order.
inline constexpr const char* kDelskala[kSubscaleCount] = {
    "Blockmönster",
    "BUT",
    "Likheter",
    "Sifferrepetition",
    "SF",
    "SB",
    "SS",
    "Matriser",
    "Ordförråd",
    "Aritmetik",
    "Symbolletning",
    "Visuella pussel",
    "Information",
    "Kodning",
    "Bss",
    "Figurvikter",
    "Förståelse",
    "Överstrykning",
    "Bildkomplettering",
};

// The raw score that each subscale converts, in Subscale order.
inline constexpr int kSubscaleRawScore[kSubscaleCount] = {
    RAW_BLOCKMONSTER,
    RAW_BUT,
    RAW_LIKHETER,
    RAW_SIFFERREPETITION,
    RAW_SRFRAM,
    RAW_SRBAK,
    RAW_SS,
    RAW_MATRISER,
    RAW_ORDFORRAD,
    RAW_ARITMETIK,
    RAW_SYMBOLLETNING,
    RAW_VISUELLAPUSSEL,
    RAW_INFORMATION,
    RAW_KODNING,
    RAW_BSS,
    RAW_FIGURVIKTER,
    RAW_FORSTAELSE,
    RAW_OVERSTRYKNING,
    RAW_BILDKOMPLETTERING,
};

// Highest raw score of the Sifferrepetition total: the sum of its three parts of 16.
inline constexpr int kSifferrepetitionMax = 48;

// The index keys as stored in INDEX_NORMER, in IndexKey order.
inline constexpr const char* kIndexKeys[kIndexCount] = {"VFI", "PFI", "AI", "SI", "HIK", "GAI"};
