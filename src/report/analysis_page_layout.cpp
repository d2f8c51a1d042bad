// SPDX-License-Identifier: Apache-2.0
#include "analysis_page_layout.h"

#include "text_layout.h"
#include "text_table.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int kSampleWidth = 220;     // width limit of the fitted fonts' sample text
constexpr int kFootnoteHeight = 12;   // height limit of the footnote font's sample text
constexpr int kNsFootnoteRight = 800; // "* ns = ej signifikant" wraps at this x on every device
constexpr unsigned short kNsFootnote = 135;

const char* faceFor(int printing) {
    return printing != 0 ? "Times New Roman" : "Arial";
}

DcObject titleFont(Dc& dc, int printing) {
    FontSpec spec;
    spec.height = 20;
    spec.weight = kFontWeightBold;
    spec.face = faceFor(printing);
    spec.family = printing != 0 ? FontFamily::Roman : FontFamily::Swiss;
    return dc.createFont(spec);
}

} // namespace

AnalysisPageFonts::AnalysisPageFonts(Dc& dc, int printing)
    : title(titleFont(dc, printing)),
      heading(ab_font_fit_width(dc, 18, 1, 0, 0, faceFor(printing), kSampleWidth)),
      base(ab_font_fit_width(dc, 16, 0, 0, 0, faceFor(printing), kSampleWidth)),
      header(ab_font_fit_width(dc, 16, 0, 1, 0, faceFor(printing), kSampleWidth)),
      row(ab_font_fit_width(dc, 16, 0, 0, 0, faceFor(printing), kSampleWidth)),
      footnote(ab_font_fit_height(dc, 13, 0, 0, 0, faceFor(printing), kFootnoteHeight)), dc_(dc),
      original_(dc.selectObject(title)) {}

AnalysisPageFonts::~AnalysisPageFonts() {
    dc_.selectObject(original_);
    for (const DcObject font : {title, heading, base, header, row, footnote}) {
        dc_.deleteObject(font);
    }
}

AnalysisPageState::AnalysisPageState(Dc& dc)
    : dc_(dc), pen_(dc.selectObject(dc.stockObject(StockObject::BlackPen))),
      align_(dc.setTextAlign(TextAlign::Left | TextAlign::Top)),
      mode_(dc.setBkMode(BackgroundMode::Transparent)) {}

AnalysisPageState::~AnalysisPageState() {
    dc_.setBkMode(mode_);
    dc_.setTextAlign(align_);
    dc_.selectObject(pen_);
}

int drawPageTitle(Dc& dc, const AnalysisPageFonts& fonts, int top, int left, int printing,
                  unsigned short titleId) {
    if (printing == 0) {
        top += 50;
    }
    const DcMarkScope heading(dc, {DcMark::Heading, {}, 1});
    return drawTextLine(dc, fonts.title, left, top, text(titleId).c_str());
}

int drawSectionHeading(Dc& dc, DcObject font, int x, int y, const char* text) {
    const DcMarkScope heading(dc, {DcMark::Heading, {}, 2});
    return drawTextLine(dc, font, x, y, text);
}

int drawTextLine(Dc& dc, DcObject font, int x, int y, const char* text) {
    dc.selectObject(font);
    drawCell(dc, TextAlign::Left, x, y, text);
    return y + dc.textMetrics().height;
}

int drawWrappedText(Dc& dc, DcObject font, int y, const char* text, int x, int right) {
    dc.selectObject(font);
    dc.setTextAlign(TextAlign::Left | TextAlign::Top);
    return ab_text_wrap(dc, y, text, x, right, 1, 0);
}

void drawRule(Dc& dc, int left, int width, int y) {
    dc.moveTo(left, y);
    dc.lineTo(left + width, y);
}

void drawCell(Dc& dc, unsigned align, int x, int y, const char* text) {
    if (text[0] == '\0') {
        return;
    }
    dc.setTextAlign(align | TextAlign::Top);
    dc.textOut(x, y, text);
}

void drawMarkedCell(Dc& dc, DcMark kind, unsigned align, int x, int y, const char* text) {
    const DcMarkScope cell(dc, {kind});
    drawCell(dc, align, x, y, text);
}

int rowStep(Dc& dc) {
    const TextMetrics metrics = dc.textMetrics();
    return metrics.height + metrics.externalLeading + 2;
}

int drawTableHead(Dc& dc, const AnalysisPageFonts& fonts, int lineY, int left, int width,
                  std::span<const HeaderCell> headers, int rowGap) {
    drawRule(dc, left, width, lineY);
    dc.selectObject(fonts.header);
    const int headerTop = lineY + 5;
    int lowest = headerTop;
    const DcMarkScope row(dc, {DcMark::Row});
    for (const HeaderCell& header : headers) {
        const DcMarkScope cell(dc, {DcMark::ColumnHeader});
        dc.setTextAlign(header.align | TextAlign::Top);
        const std::string caption = text(header.textId);
        lowest = std::max(lowest, ab_text_wrap(dc, headerTop, caption.c_str(), left + header.x,
                                               left + header.limit, 1, 0));
    }
    drawRule(dc, left, width, lowest + 5);
    return lowest + rowGap;
}

void drawLevel(Dc& dc, int x, int y, const char* level) {
    if (std::strcmp(level, "ns*") == 0) {
        x += dc.textExtent("*").cx;
    }
    drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, x, y, level);
}

int drawComparisonRows(Dc& dc, const AnalysisPageFonts& fonts, int y, int left,
                       const ComparisonRow* rows, int count, const ComparisonColumns& columns,
                       std::span<const int> gapSlots) {
    dc.selectObject(fonts.row);
    const int step = rowStep(dc);
    for (int slot = 0; slot < count; ++slot) {
        const ComparisonRow& row = rows[slot];
        if (row.title[0] == '\0') {
            continue;
        }
        if (std::find(gapSlots.begin(), gapSlots.end(), slot) != gapSlots.end()) {
            y += 10;
        }
        const DcMarkScope mark(dc, {DcMark::Row});
        {
            // The pair with its two scores stands under the first column's header.
            const DcMarkScope pair(dc, {DcMark::RowHeader});
            drawCell(dc, TextAlign::Left, left, y, row.title);
            drawCell(dc, TextAlign::Right, left + columns.name1, y, row.name1);
            drawCell(dc, TextAlign::Right, left + columns.score1, y, row.score1);
            drawCell(dc, TextAlign::Center, left + columns.dash, y, "-");
            drawCell(dc, TextAlign::Right, left + columns.name2, y, row.name2);
            drawCell(dc, TextAlign::Right, left + columns.score2, y, row.score2);
        }
        drawCell(dc, TextAlign::Center, left + columns.equals, y, "=");
        drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + columns.difference, y,
                       row.difference);
        drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + columns.critical, y,
                       row.criticalValue);
        drawLevel(dc, left + columns.level, y, row.level);
        drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + columns.baseRate, y,
                       row.baseRate);
        y += step;
    }
    return y;
}

int drawTableNotes(Dc& dc, const AnalysisPageFonts& fonts, int lineY, int left, int width,
                   int nsMarked, unsigned short noteId, int noteRight) {
    drawRule(dc, left, width, lineY);
    int y = lineY;
    if (nsMarked != 0) {
        const DcMarkScope note(dc, {DcMark::Note});
        y = drawWrappedText(dc, fonts.footnote, y, text(kNsFootnote).c_str(), left,
                            kNsFootnoteRight);
    }
    const DcMarkScope note(dc, {DcMark::Note});
    return drawWrappedText(dc, fonts.footnote, y, text(noteId).c_str(), left, noteRight);
}
