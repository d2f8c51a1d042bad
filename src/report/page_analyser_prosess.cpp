// SPDX-License-Identifier: Apache-2.0
#include "age_band_index.h"
#include "analysis_page_layout.h"
#include "process_comparisons.h"
#include "report_pages.h"
#include "span_analysis.h"
#include "test_occasion.h"
#include "text_table.h"

#include <string>

// Page 5, "Analys av processpoäng": comparisons of the process scaled scores, the frequency of
// the longest spans in the person's age band, and comparisons of the spans' raw scores.

namespace {

constexpr int kComparisonWidth = 670;
constexpr int kSpanWidth = 410;
constexpr int kProcessRowsShown = 9;

constexpr HeaderCell kProcessHeaders[] = {
    {410, TextAlign::Left, 0, 420},    // Jämförelse
    {132, TextAlign::Right, 450, 450}, // Skillnad
    {236, TextAlign::Right, 520, 580}, // Kritiskt värde
    {133, TextAlign::Right, 600, 600}, // Statistisk signifikans, one word per line
    {237, TextAlign::Right, 670, 770}, // Frekvens i normgrupp
};

constexpr ComparisonColumns kProcessColumns{305, 365, 375, 375, 395, 418, 450, 520, 600, 670};

constexpr int kProcessGapSlots[] = {6};

constexpr HeaderCell kSpanHeaders[] = {
    {227, TextAlign::Left, 0, 0},      // Processpoäng
    {229, TextAlign::Right, 310, 310}, // Råpoäng
    {237, TextAlign::Right, 410, 480}, // Frekvens i normgrupp
};

constexpr HeaderCell kSpanComparisonHeaders[] = {
    {410, TextAlign::Left, 0, 440},    // Jämförelse
    {132, TextAlign::Right, 300, 380}, // Skillnad
    {134, TextAlign::Right, 410, 510}, // Frekvens i normgrupp
};

// The line names of the spans, in Span order.
constexpr unsigned short kSpanNames[] = {262, 264, 266, 267};

// The line names of the span pairs, in SpanPair order.
constexpr unsigned short kSpanPairNames[] = {413, 414, 415};

constexpr unsigned short kSpansMissing = 417;

int spanRaw(int span) {
    return testOccasion().RawScores[kSpanRawScore[span]];
}

int paintScaledComparisons(Dc& dc, const AnalysisPageFonts& fonts, int y, int left, int right,
                           int printing) {
    computeProcessComparisons();
    y = drawSectionHeading(dc, fonts.heading, left, y + 10, text(411).c_str());
    {
        const DcMarkScope table(dc, {DcMark::Table, text(411)});
        y = drawTableHead(dc, fonts, y + 5, left, kComparisonWidth, kProcessHeaders, 10);
        y = drawComparisonRows(dc, fonts, y, left, ProcessComparisons, kProcessRowsShown,
                               kProcessColumns, kProcessGapSlots);
    }
    return drawTableNotes(dc, fonts, y + 5, left, kComparisonWidth, pairNsMarked, 136,
                          printing != 0 ? right - 10 : right + 100);
}

// The span lines below the heading that ends at y; returns the bottom of the note under them.
int paintSpanFrequencies(Dc& dc, const AnalysisPageFonts& fonts, int y, int left, int band) {
    dc.beginMark({DcMark::Table, text(237)});
    y = drawTableHead(dc, fonts, y + 5, left, kSpanWidth, kSpanHeaders, 8);
    dc.selectObject(fonts.row);
    const int step = rowStep(dc);
    for (int span = SPAN_SFO; span <= SPAN_BO; ++span) {
        const int raw = spanRaw(span);
        RowText frequency;
        const DcMarkScope row(dc, {DcMark::Row});
        if (spanFrequency(span, raw, band, frequency) != 0) {
            RowText rawText;
            writeInt(rawText, raw);
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 310, y, rawText);
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 410, y, frequency);
        } else {
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 310, y, "-");
            drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 410, y, "");
        }
        drawMarkedCell(dc, DcMark::RowHeader, TextAlign::Left, left, y,
                       text(kSpanNames[span]).c_str());
        y += step;
    }
    drawRule(dc, left, kSpanWidth, y + 3);
    dc.endMark();
    const DcMarkScope note(dc, {DcMark::Note});
    return drawWrappedText(dc, fonts.footnote, y + 8, text(416).c_str(), left, left + kSpanWidth);
}

// The raw-score comparison lines below the heading that ends at y.
int paintSpanComparisons(Dc& dc, const AnalysisPageFonts& fonts, int y, int left, int band,
                         int printing) {
    dc.beginMark({DcMark::Table, text(412)});
    y = drawTableHead(dc, fonts, y + 5, left, kSpanWidth, kSpanComparisonHeaders, 10);
    dc.selectObject(fonts.row);
    const int step = rowStep(dc);
    for (int pair = SPAN_PAIR_SFO_SBO; pair <= SPAN_PAIR_SBO_SSO; ++pair) {
        const int first = spanRaw(kSpanPairSpans[pair].first);
        const int second = spanRaw(kSpanPairSpans[pair].second);
        RowText firstText;
        RowText secondText;
        RowText differenceText;
        RowText rate;
        writeInt(firstText, first);
        writeInt(secondText, second);
        writeInt(differenceText, first - second);
        spanDifferenceRate(pair, first - second, band, rate);
        const DcMarkScope row(dc, {DcMark::Row});
        {
            // The pair with its two raw scores stands under the first column's header.
            const DcMarkScope name(dc, {DcMark::RowHeader});
            drawCell(dc, TextAlign::Left, left, y, text(kSpanPairNames[pair]).c_str());
            drawCell(dc, TextAlign::Right, left + 180, y, firstText);
            drawCell(dc, TextAlign::Center, left + 200, y, "-");
            drawCell(dc, TextAlign::Right, left + 230, y, secondText);
        }
        drawCell(dc, TextAlign::Center, left + 260, y, "=");
        drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 300, y, differenceText);
        drawMarkedCell(dc, DcMark::Cell, TextAlign::Right, left + 410, y, rate);
        y += step;
    }
    drawRule(dc, left, kSpanWidth, y + 5);
    dc.endMark();
    const DcMarkScope note(dc, {DcMark::Note});
    return drawWrappedText(dc, fonts.footnote, y + 10, text(136).c_str(), left,
                           left + (printing != 0 ? 390 : kSpanWidth));
}

bool digitSpanMissing() {
    return spanRaw(SPAN_SFO) == NOT_ADMINISTERED || spanRaw(SPAN_SBO) == NOT_ADMINISTERED ||
           spanRaw(SPAN_SSO) == NOT_ADMINISTERED;
}

} // namespace

int ab_paint_analyser_prosess(Dc& dc, int top, int left, int right, int printing) {
    const AnalysisPageState state(dc);
    const AnalysisPageFonts fonts(dc, printing);
    const DcMarkScope page(dc, {DcMark::Page, text(400)});
    int y = drawPageTitle(dc, fonts, top, left, printing, 400);
    y = paintScaledComparisons(dc, fonts, y, left, right, printing);
    y = drawSectionHeading(dc, fonts.heading, left, y + 40, text(237).c_str());
    // The span tables need one of the 13 age bands. Without it the page ends below this heading
    // and reports that y, so the report keeps its height; the message about the age band is
    // shown by the results screen and the print job, never while painting.
    const int band = ageBandIndex(testOccasion().ageBand);
    if (band < 0) {
        return y;
    }
    y = paintSpanFrequencies(dc, fonts, y, left, band);
    y = drawSectionHeading(dc, fonts.heading, left, y + 45, text(412).c_str());
    if (digitSpanMissing()) {
        const DcMarkScope paragraph(dc, {DcMark::Paragraph});
        return drawWrappedText(dc, fonts.base, y, text(kSpansMissing).c_str(), left, right + 100);
    }
    return paintSpanComparisons(dc, fonts, y, left, band, printing);
}
