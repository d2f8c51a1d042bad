#include "report_sheets.h"

#include "report_pages.h"
#include "sheet_frame.h"

namespace {

using PagePainter = int (*)(Dc&, int, int, int, int);

// The pages after the first; each gets a sheet of its own with the person block.
constexpr PagePainter kLaterPages[] = {ab_paint_grafisk, ab_paint_deltestpoang, ab_paint_analyser,
                                       ab_paint_analyser_prosess};

constexpr int kPrinting = 1;
constexpr int kFirstPageGap = 60; // from the header rule to the first page's content

SheetsOutcome stopped(SheetPrinter& printer) {
    const bool cancelled = printer.cancelled();
    printer.abortDocument();
    return cancelled ? SheetsOutcome::Cancelled : SheetsOutcome::Failed;
}

} // namespace

SheetsOutcome printReportSheets(SheetPrinter& printer) {
    if (!printer.startDocument()) {
        return printer.cancelled() ? SheetsOutcome::Cancelled : SheetsOutcome::Failed;
    }
    int pageNumber = 0;
    if (!printer.startSheet()) {
        return stopped(printer);
    }
    setSheetMapping(printer);
    Dc& dc = printer.dc();
    const int y = printSheetHeader(dc, kSheetLeft, kSheetRight, kSheetDateY);
    ab_paint_resultat(dc, y + kFirstPageGap, kSheetLeft, kSheetRight, kPrinting);
    printSheetFooter(printer, kSheetLeft, kSheetRight, ++pageNumber);

    for (const PagePainter paint : kLaterPages) {
        const int top = startReportSheet(printer, kSheetLeft, kSheetRight, kSheetDateY);
        if (top == 0) {
            return stopped(printer);
        }
        paint(printer.dc(), top, kSheetLeft, kSheetRight, kPrinting);
        printSheetFooter(printer, kSheetLeft, kSheetRight, ++pageNumber);
    }
    if (!printer.endDocument()) {
        return printer.cancelled() ? SheetsOutcome::Cancelled : SheetsOutcome::Failed;
    }
    return SheetsOutcome::Printed;
}
