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

// The logical height the page needs, learnt by laying it out where nothing is drawn.
int measuredSheetHeight(SheetPrinter& printer, PagePainter paint, int top) {
    return sheetHeightFor(paint(printer.measuringDc(), top, kSheetLeft, kSheetRight, kPrinting));
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
    Dc& dc = printer.dc();
    const int firstTop = kSheetHeaderBottom + kFirstPageGap;
    setSheetMapping(printer, measuredSheetHeight(printer, ab_paint_resultat, firstTop));
    printSheetHeader(dc, kSheetLeft, kSheetRight, kSheetDateY);
    ab_paint_resultat(dc, firstTop, kSheetLeft, kSheetRight, kPrinting);
    printSheetFooter(printer, kSheetLeft, kSheetRight, ++pageNumber);

    // The person block is the same on every later sheet, and so is the top of its page.
    const int laterTop =
        printPersonBlock(printer.measuringDc(), kSheetLeft, kSheetRight, kSheetDateY + 20);
    for (const PagePainter paint : kLaterPages) {
        const int height = measuredSheetHeight(printer, paint, laterTop);
        const int top = startReportSheet(printer, kSheetLeft, kSheetRight, kSheetDateY, height);
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
