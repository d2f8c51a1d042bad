// SPDX-License-Identifier: Apache-2.0
#include "strength_weakness_tables.h"

#include "subtest_table.h"

// clang-format off
const SwTableRow SW_TOTAL_MEAN_TABLE[kSwRowCount] = {
    //                                                           1%    2%    5%    10%   15%   25%
    {"1", SUB_BLOCKMONSTER, 61, MEAN_TOTAL, 2.45, 2.83,       {5.90, 5.10, 4.40, 3.80, 3.20, 2.60}},
    {"2", SUB_LIKHETER, 62, MEAN_TOTAL, 3.37, 3.89,           {5.90, 5.30, 4.60, 3.80, 3.40, 2.50}},
    {"3", SUB_SIFFERREPETITION, 63, MEAN_TOTAL, 2.15, 2.49,   {6.10, 5.70, 4.90, 4.00, 3.30, 2.60}},
    {"4", SUB_MATRISER, 64, MEAN_TOTAL, 2.33, 2.69,           {6.00, 5.20, 4.30, 3.60, 3.30, 2.60}},
    {"5", SUB_ORDFORRAD, 65, MEAN_TOTAL, 2.59, 2.99,          {5.50, 5.20, 4.40, 3.80, 3.40, 2.70}},
    {"6", SUB_ARITMETIK, 66, MEAN_TOTAL, 2.47, 2.85,          {5.70, 5.40, 4.20, 3.60, 3.10, 2.50}},
    {"7", SUB_SYMBOLLETNING, 67, MEAN_TOTAL, 2.98, 3.43,      {6.40, 5.80, 5.20, 4.50, 4.00, 3.20}},
    {"8", SUB_VISUELLAPUSSEL, 68, MEAN_TOTAL, 2.16, 2.50,     {5.90, 5.30, 4.50, 3.80, 3.20, 2.60}},
    {"9", SUB_INFORMATION, 69, MEAN_TOTAL, 2.85, 3.29,        {6.10, 5.50, 4.50, 3.80, 3.30, 2.60}},
    {"10", SUB_KODNING, 70, MEAN_TOTAL, 2.59, 2.99,           {6.80, 6.30, 5.00, 4.20, 3.60, 2.80}},
};

const SwTableRow SW_INDEX_MEAN_TABLE[kSwRowCount] = {
    //                                                           1%    2%    5%    10%   15%   25%
    {"2", SUB_LIKHETER, 62, MEAN_VFI, 2.24, 2.74,             {4.67, 4.00, 3.00, 2.67, 2.33, 2.00}},
    {"5", SUB_ORDFORRAD, 65, MEAN_VFI, 1.94, 2.37,            {4.00, 3.67, 3.33, 2.67, 2.33, 1.67}},
    {"9", SUB_INFORMATION, 69, MEAN_VFI, 2.04, 2.49,          {4.33, 4.00, 3.33, 2.67, 2.33, 2.00}},
    {"1", SUB_BLOCKMONSTER, 61, MEAN_PFI, 1.63, 1.99,         {4.33, 3.33, 3.00, 2.67, 2.33, 1.67}},
    {"4", SUB_MATRISER, 64, MEAN_PFI, 1.59, 1.94,             {5.00, 4.33, 4.00, 3.00, 2.67, 2.33}},
    {"8", SUB_VISUELLAPUSSEL, 68, MEAN_PFI, 1.52, 1.86,       {4.67, 4.00, 3.00, 2.67, 2.33, 2.00}},
    {"3", SUB_SIFFERREPETITION, 63, MEAN_TOTAL, 2.15, 2.49,   {6.10, 5.70, 4.90, 4.00, 3.30, 2.60}},
    {"6", SUB_ARITMETIK, 66, MEAN_TOTAL, 2.47, 2.85,          {5.70, 5.40, 4.20, 3.60, 3.10, 2.50}},
    {"7", SUB_SYMBOLLETNING, 67, MEAN_TOTAL, 2.98, 3.43,      {6.40, 5.80, 5.20, 4.50, 4.00, 3.20}},
    {"10", SUB_KODNING, 70, MEAN_TOTAL, 2.59, 2.99,           {6.80, 6.30, 5.00, 4.20, 3.60, 2.80}},
};
// clang-format on

const char* const kSwBandTexts[kSwBandCount] = {"1%",      "2%",       "3 - 5%",
                                                "6 - 10%", "11 - 15%", "16 - 25%"};
