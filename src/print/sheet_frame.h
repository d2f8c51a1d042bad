// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "dc.h"
#include "sheet_printer.h"

// The frame of a printed report sheet: header (logo, rule, today's date), the test person's data
// on sheets 2-5, and the footer with the page number. Sheets are laid out on a logical page of
// 800 × 600 units stretched onto the printable area in both directions. A page whose content
// reaches further down gets a taller logical page, so that all of it stays on its sheet above
// the footer.

inline constexpr int kSheetWidth = 800;
inline constexpr int kSheetHeight = 600;
inline constexpr int kSheetLeft = 50;
inline constexpr int kSheetRight = 750;
inline constexpr int kSheetDateY = 20;
inline constexpr int kSheetHeaderBottom = 60; // the header's rule; what printSheetHeader returns

// The footer's rule lies this far above the lower edge of the logical page; page content ends
// at least kFooterGap above it.
inline constexpr int kFooterRuleOffset = 50;
inline constexpr int kFooterGap = 10;

// The logical height of a sheet whose page content ends at contentBottom: 600, or as much more
// as the content needs to end above the footer.
int sheetHeightFor(int contentBottom);

// Maps the 800 × height logical page onto the printable area of the sheet (anisotropic: on a
// portrait sheet a vertical unit is longer than a horizontal one).
void setSheetMapping(SheetPrinter& printer, int height = kSheetHeight);

// Logo (stretched to 125 × 31 at y 20), a rule at y 60 and today's date ending at right with its
// top at dateY. Returns 60.
int printSheetHeader(Dc& dc, int left, int right, int dateY);

// "Resultatredovisning för" and the name, sex, test age, test date, other, norm group and, for
// the three oldest bands, the note on their norms. Returns the y where the page content starts.
int printPersonBlock(Dc& dc, int left, int right, int top);

// Starts a sheet, maps it (800 × height), draws the header and the person block (top
// dateY + 20). Returns the y below the person block, or 0 when the sheet could not be started.
int startReportSheet(SheetPrinter& printer, int left, int right, int dateY,
                     int height = kSheetHeight);

// "Sida" and the number at the lower right, the adaptation credit at the lower left, a rule
// above both; then ends the sheet.
void printSheetFooter(SheetPrinter& printer, int left, int right, int number);
