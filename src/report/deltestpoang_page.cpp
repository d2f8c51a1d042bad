// SPDX-License-Identifier: Apache-2.0
#include "index_table.h"
#include "page_tools.h"
#include "report_pages.h"
#include "subtest_table.h"
#include "text_layout.h"
#include "text_table.h"

#include <string>

// Page 3: raw, scaled and reference-group scaled scores of every subtest, grouped by index.

namespace {

constexpr int kRawRight = 250;
constexpr int kScaledRight = 390;
constexpr int kReferenceRight = 550;
constexpr int kReferenceHeaderWidth = 140;

struct SubtestRow {
    unsigned short groupTitle; // 0: none
    int number;                // place in the battery; 0 for the process scores
    unsigned short name;
    int rawScore;
    int subscale;
};

constexpr SubtestRow kRows[] = {
    {221, 2, 62, RAW_LIKHETER, SUB_LIKHETER},
    {0, 5, 65, RAW_ORDFORRAD, SUB_ORDFORRAD},
    {0, 9, 69, RAW_INFORMATION, SUB_INFORMATION},
    {0, 13, 73, RAW_FORSTAELSE, SUB_FORSTAELSE},
    {222, 1, 61, RAW_BLOCKMONSTER, SUB_BLOCKMONSTER},
    {0, 4, 64, RAW_MATRISER, SUB_MATRISER},
    {0, 8, 68, RAW_VISUELLAPUSSEL, SUB_VISUELLAPUSSEL},
    {0, 12, 72, RAW_FIGURVIKTER, SUB_FIGURVIKTER},
    {0, 15, 75, RAW_BILDKOMPLETTERING, SUB_BILDKOMPLETTERING},
    {223, 3, 63, RAW_SIFFERREPETITION, SUB_SIFFERREPETITION},
    {0, 6, 66, RAW_ARITMETIK, SUB_ARITMETIK},
    {0, 11, 71, RAW_BSS, SUB_BSS},
    {224, 7, 67, RAW_SYMBOLLETNING, SUB_SYMBOLLETNING},
    {0, 10, 70, RAW_KODNING, SUB_KODNING},
    {0, 14, 74, RAW_OVERSTRYKNING, SUB_OVERSTRYKNING},
    {227, 0, 260, RAW_BUT, SUB_BUT},
    {0, 0, 261, RAW_SRFRAM, SUB_SF},
    {0, 0, 263, RAW_SRBAK, SUB_SB},
    {0, 0, 265, RAW_SS, SUB_SS},
};

// One cell of a table drawn with textAligned.
void cell(Dc& dc, unsigned align, int x, int top, const std::string& text,
          DcMark kind = DcMark::Cell) {
    const DcMarkScope mark(dc, {kind});
    textAligned(dc, align, x, top, text);
}

} // namespace

int ab_paint_deltestpoang(Dc& dc, int top, int left, int right, int printing) {
    const TestOccasion& occasion = testOccasion();
    dc.setTextAlign(TextAlign::Left | TextAlign::Top);
    const PaperPen pen(dc, 1, printing);
    if (printing == 0) {
        top += 20;
    }

    const DcMarkScope page(dc, {DcMark::Page, text(57)});
    int t = 0;
    {
        SelectedObject title(dc, dc.createFont(pageFont(20, true, false, printing)));
        const DcMarkScope heading(dc, {DcMark::Heading, {}, 1});
        t = ab_text_wrap(dc, top, text(57).c_str(), left, right, 1, 0);
    }
    dc.beginMark({DcMark::Table, text(57)});
    drawLine(dc, left, t + 15, left + kReferenceRight, t + 15);

    const DcObject italic = dc.createFont(pageFont(16, false, true, printing));
    const DcObject normal = dc.createFont(pageFont(16, false, false, printing));
    const DcObject originalFont = dc.selectObject(italic);
    const int header = t + 20;
    dc.beginMark({DcMark::Row});
    cell(dc, TextAlign::Left, left, header, text(228), DcMark::ColumnHeader);
    cell(dc, TextAlign::Right, left + kRawRight, header, text(229), DcMark::ColumnHeader);
    cell(dc, TextAlign::Right, left + kScaledRight, header, text(231), DcMark::ColumnHeader);
    // Wrapped into lines of the column's width, each right-aligned at the column's right end.
    dc.setTextAlign(TextAlign::Right | TextAlign::Top);
    dc.beginMark({DcMark::ColumnHeader});
    const int headerBottom = ab_text_wrap(dc, header, text(167).c_str(), left + kReferenceRight,
                                          left + kReferenceRight + kReferenceHeaderWidth, 1, 0);
    dc.endMark();
    dc.endMark();
    dc.setTextAlign(TextAlign::Left | TextAlign::Top);
    const int n = dc.textExtent("12. ").cx;
    drawLine(dc, left, headerBottom + 5, left + kReferenceRight, headerBottom + 5);

    int y = headerBottom + 8;
    for (const SubtestRow& row : kRows) {
        if (row.groupTitle != 0) {
            dc.selectObject(italic);
            // The group's name heads the rows below it, in a row of its own.
            const DcMarkScope groupRow(dc, {DcMark::Row});
            const DcMarkScope groupName(dc, {DcMark::RowHeader});
            y = ab_text_wrap(dc, y + 10, text(row.groupTitle).c_str(), left, right, 1, 0);
        }
        dc.selectObject(normal);
        const int scaled = occasion.ScaledScores[row.subscale];
        const int reference = occasion.ReferenceScaledScores[row.subscale];
        const bool referenceShown = row.number != 0 && scaled != 0 && reference != 0;
        const DcMarkScope mark(dc, {DcMark::Row});
        cell(dc, TextAlign::Right, left + kRawRight, y,
             scoreText(occasion.RawScores[row.rawScore], NOT_ADMINISTERED));
        cell(dc, TextAlign::Right, left + kScaledRight, y, scoreText(scaled, 0));
        cell(dc, TextAlign::Right, left + kReferenceRight, y,
             referenceShown ? std::to_string(reference) : "-");
        const DcMarkScope name(dc, {DcMark::RowHeader});
        if (row.number != 0) {
            textAligned(dc, TextAlign::Right, left + n, y, std::to_string(row.number) + ". ");
        }
        y = ab_text_wrap(dc, y, text(row.name).c_str(), left + n, right, 1, 0);
    }
    dc.selectObject(originalFont);
    dc.deleteObject(italic);
    dc.deleteObject(normal);

    drawLine(dc, left, y + 3, left + kReferenceRight, y + 3);
    dc.endMark();
    y += 8;
    if (showsNote633(occasion.normDescription) != 0) {
        SelectedObject font(dc, dc.createFont(pageFont(12, false, false, printing)));
        const DcMarkScope note(dc, {DcMark::Note});
        y = ab_text_wrap(dc, y, text(633).c_str(), left, right, 1, 0);
    }
    return y + 5;
}
