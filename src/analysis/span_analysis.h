// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "analysis_text.h"
#include "subtest_table.h"

// Longest spans of the Sifferrepetition tasks and of Bokstavs-siffer-serier, read as raw scores.

enum Span : int { SPAN_SFO, SPAN_SBO, SPAN_SSO, SPAN_BO };

// The raw score of each span, in Span order.
inline constexpr int kSpanRawScore[] = {RAW_SRLFRAM, RAW_SRLBAK, RAW_SSO, RAW_BO};

enum SpanPair : int { SPAN_PAIR_SFO_SBO, SPAN_PAIR_SFO_SSO, SPAN_PAIR_SBO_SSO };

struct SpanPairSpans {
    Span first;
    Span second;
};

// The two spans of each pair, in SpanPair order.
inline constexpr SpanPairSpans kSpanPairSpans[] = {
    {SPAN_SFO, SPAN_SBO}, {SPAN_SFO, SPAN_SSO}, {SPAN_SBO, SPAN_SSO}};

// The frequency cell of a span line: the share of the age band whose longest span was at least
// raw, "%0.1f%%", or "100.00%" for a span of 0. Returns 1 when the line shows the raw score and
// this frequency; 0 when it shows "-" and no frequency: the span was not administered, it is BO
// at 70 years or older (no norms), or the raw score or the band lies outside the tables. text is
// then empty.
int spanFrequency(int span, int raw, int ageBandIndex, RowText& text);

// The percentage cell of a raw-score comparison: the share of the age band whose difference of
// the pair's spans, in the direction of difference, was at least |difference|, "%0.1f%%".
// A difference beyond the table's 9 takes the row 9. text is empty for an unknown pair or band.
void spanDifferenceRate(int pair, int difference, int ageBandIndex, RowText& text);
