#pragma once

// The norm tables as a folder of three UTF-8 CSV files, NORMGRUPPER.csv, NORMER.csv and
// INDEX_NORMER.csv: a header row of the column names, then one row per table row. The writer
// separates with commas and writes PERC with a decimal point; the reader also takes the semicolons
// and decimal commas that a spreadsheet set to Swedish writes, and a byte-order mark.

#include "norm_tables.h"

#include <filesystem>
#include <string>
#include <vector>

// "NORMER" -> "NORMER.csv".
std::string normFileName(const char* table);

// Reads the three files. Every problem found (a file that cannot be read, is not UTF-8, has a
// wrong header, a row with too few or too many fields, text in a number column...) is added to
// problems as "FILE, rad N: rule"; the tables are then incomplete. true when there was none.
bool readNormFolder(const std::filesystem::path& folder, NormTables& tables,
                    std::vector<std::string>& problems);

// Writes the three files into folder, which is created when missing, through the safe writer
// (safe_file.h): all three or none. Refuses, and writes nothing, when any of the three names is
// already taken (by a file, a link even one leading nowhere, or anything else), so that a
// filled-in set is never overwritten by a template. false with the reason in error.
bool writeNormFolder(const std::filesystem::path& folder, const NormTables& tables,
                     std::string& error);

// The shortest decimal text without exponent that reads back as exactly the same float.
std::string floatText(float value);
