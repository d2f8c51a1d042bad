// SPDX-License-Identifier: Apache-2.0
#pragma once

// The rules a set of norm tables must keep for the program to score with it correctly. No
// database or window code.

#include "norm_tables.h"

#include <string>
#include <vector>

// Every broken rule, one message each, naming the place ("NORMER.csv, rad 12" for a row from a
// file, "NORMER (Standardgrupp, Blockmönster, 16-17 år)" for a row from the database, the table
// alone for something missing) and the rule. fromFiles says which of the two the rows are. Empty
// when the set is sound.
std::vector<std::string> checkNormTables(const NormTables& tables, bool fromFiles);
