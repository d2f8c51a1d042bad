// SPDX-License-Identifier: Apache-2.0
#include "report_sheets.h"

#include "report_pages.h"
#include "sheet_frame.h"

namespace {

using PagePainter = int (*)(Dc&, int, int, int, int);

struct Page {
    PagePainter paint;
    bool personBlock; // sheets 2-5; the first page draws the person's data itself
};

constexpr Page kPages[] = {
    {ab_paint_resultat, false}, {ab_paint_grafisk, true},          {ab_paint_deltestpoang, true},
    {ab_paint_analyser, true},  {ab_paint_analyser_prosess, true},
};

constexpr int kPrinting = 1;
constexpr int kFirstPageTop = kSheetHeaderBottom + 60; // the first page starts 60 below the rule
constexpr int kPersonBlockTop = kSheetDateY + 20;

// The logical height the page's sheet needs, learnt by laying the page out where nothing is
// drawn.
int sheetHeight(SheetPrinter& printer, const Page& page) {
    Dc& measuring = printer.measuringDc();
    const int top = page.personBlock
                        ? printPersonBlock(measuring, kSheetLeft, kSheetRight, kPersonBlockTop)
                        : kFirstPageTop;
    return sheetHeightFor(page.paint(measuring, top, kSheetLeft, kSheetRight, kPrinting));
}

// Starts the page's sheet with its header (and person block); the y where the page starts, or 0.
int startSheet(SheetPrinter& printer, const Page& page, int height) {
    if (page.personBlock) {
        return startReportSheet(printer, kSheetLeft, kSheetRight, kSheetDateY, height);
    }
    if (!printer.startSheet()) {
        return 0;
    }
    setSheetMapping(printer, height);
    printSheetHeader(printer.dc(), kSheetLeft, kSheetRight, kSheetDateY);
    return kFirstPageTop;
}

} // namespace

SheetsOutcome printReportSheets(SheetPrinter& printer) {
    return printReportSheets(printer, {0, 1, 2, 3, 4});
}

SheetsOutcome printReportSheets(SheetPrinter& printer, const std::vector<int>& order) {
    for (const Page& page : kPages) {
        sheetHeight(printer, page);
        if (!printer.abortCheck()) {
            return SheetsOutcome::Cancelled;
        }
    }

    if (!printer.startDocument()) {
        return SheetsOutcome::Failed;
    }
    for (const int index : order) {
        const Page& page = kPages[static_cast<std::size_t>(index)];
        const int top = startSheet(printer, page, sheetHeight(printer, page));
        if (top == 0) {
            printer.abortDocument();
            return SheetsOutcome::Failed;
        }
        page.paint(printer.dc(), top, kSheetLeft, kSheetRight, kPrinting);
        printSheetFooter(printer, kSheetLeft, kSheetRight, index + 1);
    }
    return printer.endDocument() ? SheetsOutcome::Printed : SheetsOutcome::Failed;
}
