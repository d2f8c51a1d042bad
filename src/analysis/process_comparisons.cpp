// SPDX-License-Identifier: Apache-2.0
#include "process_comparisons.h"

#include "process_tables.h"
#include "subtest_table.h"
#include "test_occasion.h"
#include "text_table.h"

#include <cstring>

ComparisonRow ProcessComparisons[kComparisonRowCount];

namespace {

struct ProcessPair {
    unsigned short title;
    Subscale first;
    Subscale second;
};

constexpr ProcessPair kProcessPairs[kProcessPairCount] = {
    {401, SUB_BLOCKMONSTER, SUB_BUT},
    {402, SUB_SF, SUB_SB},
    {403, SUB_SF, SUB_SS},
    {404, SUB_SB, SUB_SS},
};

bool validRow(int row) {
    return row >= 0 && row < kProcessPairCount;
}

} // namespace

int computeProcessComparisons() {
    pairNsMarked = 0;
    std::memset(ProcessComparisons, 0, sizeof ProcessComparisons);
    const TestOccasion& occasion = testOccasion();
    for (int row = 0; row < kProcessPairCount; ++row) {
        const int score1 = occasion.ScaledScores[kProcessPairs[row].first];
        const int score2 = occasion.ScaledScores[kProcessPairs[row].second];
        if (score1 < 1 || score2 < 1) {
            continue;
        }
        loadText(kProcessPairs[row].title, ProcessComparisons[row].title, kRowText);
        const int difference = score1 - score2;
        rateProcessPair(row, score1, score2, difference);
        processPairBaseRate(row, difference);
    }
    return 1;
}

void rateProcessPair(int row, int score1, int score2, int difference) {
    if (!validRow(row)) {
        return;
    }
    ratePair(ProcessComparisons[row], score1, score2, difference, PROCESS_PAIR_CRITICAL[row]);
}

void processPairBaseRate(int row, int difference) {
    if (!validRow(row)) {
        return;
    }
    const int t = baseRateRow(difference, kProcessPairTopT);
    writeBaseRate(ProcessComparisons[row],
                  PROCESS_PAIR_BASE_RATE[t][directionOf(difference) * kProcessPairCount + row]);
}
