// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "comparison_row.h"
#include "dc.h"

#include <span>

// Layout shared by the two analysis pages ("Analyser" and "Analys av processpoäng"): their fonts,
// table heads, comparison rows and notes. Column positions are x offsets from the page's left
// margin; every routine returns the y below what it drew.

// The fonts of an analysis page in the face of the device ("Arial" on screen, "Times New Roman"
// on paper). Selects the title font while it lives and restores the dc's font and deletes every
// font it made when it goes.
class AnalysisPageFonts {
  public:
    AnalysisPageFonts(Dc& dc, int printing);
    ~AnalysisPageFonts();
    AnalysisPageFonts(const AnalysisPageFonts&) = delete;
    AnalysisPageFonts& operator=(const AnalysisPageFonts&) = delete;

    DcObject title;    // 20 bold
    DcObject heading;  // 18 bold, fitted to a sample width of 220
    DcObject base;     // 16 normal, fitted: base texts and messages
    DcObject header;   // 16 italic, fitted: column headers
    DcObject row;      // 16 normal, fitted: table rows
    DcObject footnote; // 13 normal, fitted to a sample height of 12

  private:
    Dc& dc_;
    DcObject original_;
};

// Sets the pen, the text alignment and the transparent background mode a page draws with, and
// puts back what was set before when it goes.
class AnalysisPageState {
  public:
    explicit AnalysisPageState(Dc& dc);
    ~AnalysisPageState();
    AnalysisPageState(const AnalysisPageState&) = delete;
    AnalysisPageState& operator=(const AnalysisPageState&) = delete;

  private:
    Dc& dc_;
    DcObject pen_;
    unsigned align_;
    BackgroundMode mode_;
};

// The page title in the title font at (left, top), 50 lower on screen; returns its bottom.
int drawPageTitle(Dc& dc, const AnalysisPageFonts& fonts, int top, int left, int printing,
                  unsigned short titleId);

// One line of text in the font, left-aligned at (x, y); returns y + the font's height.
int drawTextLine(Dc& dc, DcObject font, int x, int y, const char* text);

// A section's heading: one line in the font at (x, y), marked as a heading of level 2.
int drawSectionHeading(Dc& dc, DcObject font, int x, int y, const char* text);

// The text in the font, left-aligned and word-wrapped between x and right (ab_text_wrap).
int drawWrappedText(Dc& dc, DcObject font, int y, const char* text, int x, int right);

// A horizontal line from left to left + width at y.
void drawRule(Dc& dc, int left, int width, int y);

// A column header: its text id, alignment (left or right at x) and the limit its words wrap
// at. A limit at x (or left of it) puts one word on each line.
struct HeaderCell {
    unsigned short textId;
    unsigned align;
    int x;
    int limit;
};

// The head of a table: a line at lineY, the headers 5 below it in the header font, a line 5 below
// the lowest header line. Returns where the rows start: rowGap below the lowest header line.
int drawTableHead(Dc& dc, const AnalysisPageFonts& fonts, int lineY, int left, int width,
                  std::span<const HeaderCell> headers, int rowGap);

// Where the cells of a comparison row go; the title is left at 0.
struct ComparisonColumns {
    int name1;      // right
    int score1;     // right
    int dash;       // centre of "-"
    int name2;      // right
    int score2;     // right
    int equals;     // centre of "="
    int difference; // right
    int critical;   // right
    int level;      // right ("ns*" further right by the width of "*")
    int baseRate;   // right
};

// The used rows among the first count of rows (an empty title takes no space), one line each in
// the row font, 10 units lower before each row in gapSlots. Returns the bottom of the last row,
// or y when no row is used.
int drawComparisonRows(Dc& dc, const AnalysisPageFonts& fonts, int y, int left,
                       const ComparisonRow* rows, int count, const ComparisonColumns& columns,
                       std::span<const int> gapSlots);

// A significance level right-aligned at x; "ns*" is moved right by the width of "*" so that its
// "ns" lines up with the others. Uses the selected font.
void drawLevel(Dc& dc, int x, int y, const char* level);

// The end of a table: a line of the given width at lineY, then directly below it in the
// footnote font "* ns = ej signifikant" when nsMarked is set (wrapped up to x = 800) and the
// note noteId wrapped between left and noteRight.
int drawTableNotes(Dc& dc, const AnalysisPageFonts& fonts, int lineY, int left, int width,
                   int nsMarked, unsigned short noteId, int noteRight);

// A cell of text with the given alignment at (x, y) in the selected font; an empty text draws
// nothing.
void drawCell(Dc& dc, unsigned align, int x, int y, const char* text);

// drawCell inside a mark of the given kind; an empty text makes an empty cell.
void drawMarkedCell(Dc& dc, DcMark kind, unsigned align, int x, int y, const char* text);

// The distance from one table row to the next in the selected font: the font's height, its
// external leading and 2, as ab_text_wrap steps.
int rowStep(Dc& dc);
