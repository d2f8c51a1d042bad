// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <vector>

// The report pages (0-4, in report order) in the order their sheets leave the printer, for the
// copies, collation and page order chosen in the print dialog where the printer itself does not
// make them: collated copies repeat the whole report (1 2 3 4 5 1 2 3 4 5), uncollated ones each
// sheet (1 1 2 2 ...); last page first turns the report round within each copy.
std::vector<int> reportSheetOrder(int copies, bool collate, bool lastPageFirst);
