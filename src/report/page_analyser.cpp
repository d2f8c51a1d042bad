// SPDX-License-Identifier: Apache-2.0
#include "analysis_page_layout.h"
#include "index_comparisons.h"
#include "report_pages.h"
#include "strengths_weaknesses.h"
#include "text_table.h"

#include <cstring>
#include <string>

// Page 4, "Analyser": the pairwise comparisons of the indexes and two subtest pairs, then the
// strengths and weaknesses of the core subtests. The analyses leave every cell as text; this
// page only lays them out.

namespace {

constexpr int kTableWidth = 670;
constexpr int kRowsShown = 10;

constexpr HeaderCell kComparisonHeaders[] = {
    {235, TextAlign::Left, 0, 420},    // Index/Deltest
    {132, TextAlign::Right, 450, 450}, // Skillnad
    {236, TextAlign::Right, 520, 580}, // Kritiskt värde
    {133, TextAlign::Right, 600, 600}, // Statistisk signifikans, one word per line
    {237, TextAlign::Right, 670, 770}, // Frekvens i normgrupp
};

constexpr ComparisonColumns kComparisonColumns{270, 300, 315, 350, 380, 410, 450, 520, 600, 670};

// The full scale against GAI, and the subtest pairs, stand apart from the index pairs.
constexpr int kComparisonGapSlots[] = {6, 7};

constexpr HeaderCell kStrengthHeaders[] = {
    {240, TextAlign::Left, 0, 420},    // Deltest
    {154, TextAlign::Right, 170, 170}, // Skalpoäng
    {155, TextAlign::Right, 250, 250}, // Medelvärde
    {156, TextAlign::Right, 340, 430}, // Skillnad från medelvärde
    {236, TextAlign::Right, 420, 460}, // Kritiskt värde
    {133, TextAlign::Right, 500, 590}, // Statistisk signifikans
    {158, TextAlign::Right, 600, 680}, // Styrka/Svaghet (+/-)
    {237, TextAlign::Right, 670, 770}, // Frekvens i normgrupp
};

// With the index means as basis the rows form groups: VFI, PFI, AI and SI subtests.
constexpr int kStrengthGroupSlots[] = {3, 6, 8};

constexpr unsigned short kTooFewForTotalMean = 138;
constexpr unsigned short kTooFewForBothIndexMeans = 145;
constexpr unsigned short kTooFewForVfiMean = 146;
constexpr unsigned short kTooFewForPfiMean = 147;
constexpr int kMessageRight = 700;

unsigned short indexBaseText(int indexBase) {
    switch (indexBase) {
    case INDEX_BASE_WHOLE_GROUP:
        return 242;
    case INDEX_BASE_ABILITY:
        return 243;
    default:
        return 0;
    }
}

unsigned short swBaseText(int swBase) {
    switch (swBase) {
    case SW_BASE_TOTAL:
        return 140;
    case SW_BASE_INDEX:
        return 141;
    default:
        return 0;
    }
}

// The message that the status of the strengths and weaknesses calls for, or 0.
unsigned short swMessage(int swBase, int status) {
    if (swBase == SW_BASE_TOTAL && status == SW_NO_TOTAL_MEAN) {
        return kTooFewForTotalMean;
    }
    if (swBase == SW_BASE_INDEX && status == SW_NO_INDEX_MEAN) {
        return kTooFewForBothIndexMeans;
    }
    if (status == SW_NO_VFI_MEAN) {
        return kTooFewForVfiMean;
    }
    if (status == SW_NO_PFI_MEAN) {
        return kTooFewForPfiMean;
    }
    return 0;
}

bool swTableOmitted(int swBase, int status) {
    return (swBase == SW_BASE_TOTAL && status == SW_NO_TOTAL_MEAN) ||
           (swBase == SW_BASE_INDEX && status == SW_NO_INDEX_MEAN);
}

// A base text or message; an id of 0 draws nothing.
int drawNote(Dc& dc, DcObject font, int y, unsigned short textId, int left, int right) {
    if (textId == 0) {
        return y;
    }
    const DcMarkScope paragraph(dc, {DcMark::Paragraph});
    return drawWrappedText(dc, font, y, text(textId).c_str(), left, right);
}

int paintComparisons(Dc& dc, const AnalysisPageFonts& fonts, int y, int left, int right,
                     int printing) {
    y = drawSectionHeading(dc, fonts.heading, left, y + 10, text(241).c_str());
    y = drawNote(dc, fonts.base, y + 5, indexBaseText(resultsView().indexBase), left, right + 100);
    {
        const DcMarkScope table(dc, {DcMark::Table, text(241)});
        y = drawTableHead(dc, fonts, y + 10, left, kTableWidth, kComparisonHeaders, 10);
        y = drawComparisonRows(dc, fonts, y, left, IndexComparisons, kRowsShown, kComparisonColumns,
                               kComparisonGapSlots);
    }
    return drawTableNotes(dc, fonts, y + 5, left, kTableWidth, pairNsMarked, 136,
                          printing != 0 ? right - 10 : right + 100);
}

int drawStrengthRows(Dc& dc, const AnalysisPageFonts& fonts, int y, int left, int swBase) {
    dc.selectObject(fonts.row);
    const int step = rowStep(dc);
    for (int slot = 0; slot < kRowsShown; ++slot) {
        const StrengthWeaknessRow& row = StrengthsWeaknesses[slot];
        if (row.number[0] == '\0') {
            continue;
        }
        if (swBase == SW_BASE_INDEX) {
            for (const int groupSlot : kStrengthGroupSlots) {
                y += slot == groupSlot ? 5 : 0;
            }
        }
        const DcMarkScope mark(dc, {DcMark::Row});
        drawMarkedCell(dc, DcMark::RowHeader, TextAlign::Left, left, y, row.name);
        if (std::strcmp(row.scaledScore, "-9") == 0) {
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 170, y, "-");
        } else if (row.scaledScore[0] != '\0') { // empty: its mean is not available
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 170, y, row.scaledScore);
            drawCell(dc, TextAlign::Center, left + 200, y, "-");
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 250, y, row.mean);
            drawCell(dc, TextAlign::Center, left + 280, y, "=");
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 340, y, row.difference);
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 425, y, row.criticalValue);
            drawLevel(dc, left + 500, y, row.level);
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 600, y, row.mark);
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 670, y, row.baseRate);
        }
        y += step;
    }
    return y;
}

int paintStrengthsWeaknesses(Dc& dc, const AnalysisPageFonts& fonts, int y, int left, int right,
                             int printing) {
    const int swBase = resultsView().swBase;
    y = drawSectionHeading(dc, fonts.heading, left, y + 25, text(137).c_str());
    const int status = computeStrengthsWeaknesses(swBase);
    y = drawNote(dc, fonts.base, y + 5, swBaseText(swBase), left, right + 100);
    int tableLine = y + 10;
    if (const unsigned short message = swMessage(swBase, status); message != 0) {
        y = drawNote(dc, fonts.base, y + 10, message, left, kMessageRight);
        if (swTableOmitted(swBase, status)) {
            return y;
        }
        tableLine = y + 5;
    }
    {
        const DcMarkScope table(dc, {DcMark::Table, text(137)});
        y = drawTableHead(dc, fonts, tableLine, left, kTableWidth, kStrengthHeaders, 10);
        y = drawStrengthRows(dc, fonts, y, left, swBase);
    }
    return drawTableNotes(dc, fonts, y + 5, left, kTableWidth, swNsMarked, 160,
                          printing != 0 ? right - 10 : right + 90);
}

} // namespace

int ab_paint_analyser(Dc& dc, int top, int left, int right, int printing) {
    const AnalysisPageState state(dc);
    const AnalysisPageFonts fonts(dc, printing);
    const DcMarkScope page(dc, {DcMark::Page, text(56)});
    int y = drawPageTitle(dc, fonts, top, left, printing, 56);
    // An age band outside the 13 bands leaves the comparisons out; the message about it is
    // shown by the results screen and the print job, never while painting.
    if (computeIndexComparisons(resultsView().indexBase) != 0) {
        y = paintComparisons(dc, fonts, y, left, right, printing);
    }
    return paintStrengthsWeaknesses(dc, fonts, y, left, right, printing);
}
