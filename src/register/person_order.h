// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"

#include <vector>

// The order of the test-person list. The database sorts text by its bytes, which puts Å, Ä and Ö
// (and every lower-case name) in the wrong place for a Swedish reader; the text columns are
// therefore ordered again in Swedish alphabetical order (ICU collation of sv_SE, whatever the
// process locale): A-Z, then Å, Ä, Ö, upper and lower case together. Dates, sex and ID keep the
// database's order.

// Whether the sort column (0-9, as DoListPD numbers them) holds text.
bool isTextSortColumn(int sortColumn);

// Orders rows by the text column in Swedish order, ascending or descending; rows with equal text
// keep their order. Other columns are left as they are.
void orderPersonRows(std::vector<PersonListRow>& rows, int sortColumn, bool descending);
