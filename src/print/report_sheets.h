// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "sheet_printer.h"

#include <vector>

// The five sheets of the report, one per page, in the order of the screen: results with the
// norm comparison, graphs, subtest scores, analyses, process scores. The page painters draw with
// printing 1; every sheet gets the header and the footer, sheets 2-5 the person block.
//
// The pages are first laid out on the measuring context with the abort check after each, so a
// job cancelled by the user never reaches the printer. The document is then printed whole.

enum class SheetsOutcome {
    Printed,   // the document was ended and handed over
    Cancelled, // the user cancelled; no document was begun
    Failed,    // the document or a sheet could not be started or ended; an open document was
               // aborted
};

SheetsOutcome printReportSheets(SheetPrinter& printer);
// The same with the sheets in the given order of report pages (0-4; see reportSheetOrder). Each
// sheet keeps the number of its page.
SheetsOutcome printReportSheets(SheetPrinter& printer, const std::vector<int>& order);
