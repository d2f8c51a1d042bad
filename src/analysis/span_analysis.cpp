// SPDX-License-Identifier: Apache-2.0
#include "span_analysis.h"

#include "process_tables.h"

#include <cstdlib>

namespace {

bool validBand(int ageBandIndex) {
    return ageBandIndex >= 0 && ageBandIndex < kAgeBandCount;
}

} // namespace

int spanFrequency(int span, int raw, int ageBandIndex, RowText& text) {
    text[0] = '\0';
    if (span < 0 || span >= kSpanCount || !validBand(ageBandIndex)) {
        return 0;
    }
    if (raw == NOT_ADMINISTERED || raw < 0 || raw > kSpanTopRaw) {
        return 0;
    }
    if (span == SPAN_BO && ageBandIndex >= kSpanBandsOfBo) {
        return 0;
    }
    if (raw == 0) {
        writeText(text, "100.00%");
        return 1;
    }
    const double share = SPAN_CUMULATIVE[span][kSpanTopRaw - raw][ageBandIndex];
    if (share == kNoNorm) {
        return 0;
    }
    writeFixed(text, share, 1, "%");
    return 1;
}

void spanDifferenceRate(int pair, int difference, int ageBandIndex, RowText& text) {
    text[0] = '\0';
    if (pair < 0 || pair >= kSpanPairCount || !validBand(ageBandIndex)) {
        return;
    }
    int row = std::abs(difference);
    if (row > kSpanDiffTop) {
        row = kSpanDiffTop;
    }
    const int direction = difference >= 0 ? 0 : 1;
    writeFixed(text, SPAN_DIFF_BASE_RATE[pair][direction][row][ageBandIndex], 1, "%");
}
