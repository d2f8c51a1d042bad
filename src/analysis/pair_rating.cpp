// SPDX-License-Identifier: Apache-2.0
#include "pair_rating.h"

#include <cstdlib>

int pairNsMarked = 0;

void ratePair(ComparisonRow& row, int score1, int score2, int difference, CriticalValues critical) {
    writeInt(row.score1, score1);
    writeInt(row.score2, score2);
    writeInt(row.difference, difference);
    const double magnitude = std::abs(difference);
    if (magnitude >= critical.c05) {
        writeText(row.level, ".05");
        writeFixed(row.criticalValue, critical.c05, 2);
    } else if (magnitude >= critical.c15) {
        writeText(row.level, ".15");
        writeFixed(row.criticalValue, critical.c15, 2);
    } else {
        writeText(row.level, pairNsMarked == 0 ? "ns*" : "ns");
        writeText(row.criticalValue, "-");
        pairNsMarked = 1;
    }
}

int baseRateRow(int difference, int topT) {
    const int magnitude = std::abs(difference);
    for (int row = 0; row < topT; ++row) {
        if (magnitude >= topT - row) {
            return row;
        }
    }
    return topT; // the row T = 0, which every difference reaches
}

void writeBaseRate(ComparisonRow& row, double percentage) {
    writeFixed(row.baseRate, percentage, 1, "%");
}
