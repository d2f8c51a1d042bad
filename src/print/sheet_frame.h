#pragma once

#include "dc.h"
#include "sheet_printer.h"

// The frame of a printed report sheet: header (logo, rule, today's date), the test person's data
// on sheets 2-5, and the footer with the page number. Sheets are laid out on a logical page of
// 800 × 600 units stretched onto the printable area in both directions.

inline constexpr int kSheetWidth = 800;
inline constexpr int kSheetHeight = 600;
inline constexpr int kSheetLeft = 50;
inline constexpr int kSheetRight = 750;
inline constexpr int kSheetDateY = 20;

// Maps the 800 × 600 logical page onto the printable area of the sheet (anisotropic: a portrait
// sheet makes a vertical unit longer than a horizontal one).
void setSheetMapping(SheetPrinter& printer);

// Logo (stretched to 125 × 31 at y 20), a rule at y 60 and today's date ending at right with its
// top at dateY. Returns 60.
int printSheetHeader(Dc& dc, int left, int right, int dateY);

// "Resultatredovisning för" and the name, sex, test age, test date, other, norm group and, for
// the three oldest bands, the note on their norms. Returns the y where the page content starts.
int printPersonBlock(Dc& dc, int left, int right, int top);

// Starts a sheet, maps it, draws the header and the person block (top dateY + 20). Returns the y
// below the person block, or 0 when the sheet could not be started.
int startReportSheet(SheetPrinter& printer, int left, int right, int dateY);

// "Sida" and the number at the lower right, the adaptation credit at the lower left, a rule
// above both; then ends the sheet.
void printSheetFooter(SheetPrinter& printer, int left, int right, int number);
