// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <vector>

// The order of the test-person list. The database sorts text by its bytes, which puts Å, Ä and Ö
// (and every lower-case name) in the wrong place for a Swedish reader; the text columns are
// therefore ordered again in Swedish alphabetical order (ICU collation of sv_SE, whatever the
// process locale): A-Z, then Å, Ä, Ö, upper and lower case together. Dates, sex and ID keep the
// database's order.

// The order of count texts (textAt(0) ... textAt(count - 1)) in Swedish order, ascending or
// descending, as the positions of the texts; equal texts keep their order.
std::vector<std::size_t>
swedishOrder(std::size_t count, const std::function<QString(std::size_t)>& textAt, bool descending);

// Orders rows by the text column in Swedish order, ascending or descending; rows with equal text
// keep their order. Other columns are left as they are.
void orderPersonRows(std::vector<PersonListRow>& rows, int sortColumn, bool descending);
