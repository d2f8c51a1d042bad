// SPDX-License-Identifier: Apache-2.0
#include "strengths_weaknesses.h"

#include "strength_weakness_tables.h"
#include "subtest_table.h"
#include "test_occasion.h"
#include "text_table.h"

#include <cmath>
#include <cstring>

StrengthWeaknessRow StrengthsWeaknesses[kStrengthWeaknessRowCount];
int swNsMarked = 0;

namespace {

// The three means in single precision, as the norm tables were computed; 0 when not available.
struct Means {
    float value[3];
    bool available[3];
};

Means computeMeans(const TestOccasion& occasion) {
    const IndexResult* index = occasion.indexes;
    Means means{};
    // A mean over a sum that lacks a scaled score would be no mean of the person's scores.
    means.available[MEAN_TOTAL] = hasIndexSum(index[VFI]) && hasIndexSum(index[PFI]) &&
                                  hasIndexSum(index[AI]) && hasIndexSum(index[SI]) &&
                                  index[HIK].count == 10;
    means.available[MEAN_VFI] = hasIndexSum(index[VFI]) && index[VFI].count == 3;
    means.available[MEAN_PFI] = hasIndexSum(index[PFI]) && index[PFI].count == 3;
    if (means.available[MEAN_TOTAL]) {
        means.value[MEAN_TOTAL] = static_cast<float>(index[HIK].sum * 0.1);
    }
    constexpr float kThird = 0.33333334f;
    if (means.available[MEAN_VFI]) {
        means.value[MEAN_VFI] = static_cast<float>(index[VFI].sum) * kThird;
    }
    if (means.available[MEAN_PFI]) {
        means.value[MEAN_PFI] = static_cast<float>(index[PFI].sum) * kThird;
    }
    return means;
}

// Table values and rounded differences are compared in whole hundredths, so that a difference
// equal to a printed value counts as reaching it.
long hundredths(double value) {
    return std::lround(value * 100.0);
}

const char* bandText(long magnitude, const SwTableRow& entry) {
    for (int band = 0; band < kSwBandCount; ++band) {
        if (magnitude >= hundredths(entry.bands[band])) {
            return kSwBandTexts[band];
        }
    }
    return kSwCommonBandText;
}

void rateRow(StrengthWeaknessRow& row, const SwTableRow& entry, double d) {
    const long magnitude = std::labs(hundredths(d));
    const char* mark = d > 0 ? "+" : "-";
    if (magnitude >= hundredths(entry.c05)) {
        writeText(row.level, ".05");
        writeFixed(row.criticalValue, entry.c05, 2);
        writeText(row.mark, mark);
    } else if (magnitude >= hundredths(entry.c15)) {
        writeText(row.level, ".15");
        writeFixed(row.criticalValue, entry.c15, 2);
        writeText(row.mark, mark);
    } else {
        writeText(row.level, swNsMarked == 0 ? "ns*" : "ns");
        writeText(row.mark, " ");
        swNsMarked = 1;
    }
    writeText(row.baseRate, bandText(magnitude, entry));
}

void fillRow(StrengthWeaknessRow& row, const SwTableRow& entry, const Means& means,
             const TestOccasion& occasion) {
    writeText(row.number, entry.number);
    loadText(entry.name, row.name, kRowText);
    if (!means.available[entry.mean]) {
        return;
    }
    // A subtest that was not given keeps only its "-9"; the page shows its name and "-".
    if (occasion.RawScores[kSubscaleRawScore[entry.subscale]] == NOT_ADMINISTERED) {
        writeInt(row.scaledScore, NOT_ADMINISTERED);
        return;
    }
    const int score = occasion.ScaledScores[entry.subscale];
    const float mean = means.value[entry.mean];
    writeInt(row.scaledScore, score);
    writeFixed(row.mean, mean, 2);
    // The single-precision mean is subtracted in double: a mean of 10.3f is 10.30000019...
    const double d = roundTo2(score - static_cast<double>(mean));
    writeFixed(row.difference, d, 2);
    rateRow(row, entry, d);
}

int statusOf(int swBase, const Means& means) {
    if (swBase == SW_BASE_TOTAL) {
        return means.available[MEAN_TOTAL] ? SW_TOTAL_MEAN : SW_NO_TOTAL_MEAN;
    }
    if (swBase != SW_BASE_INDEX) {
        return SW_OTHER_BASE;
    }
    if (means.available[MEAN_VFI]) {
        return means.available[MEAN_PFI] ? SW_INDEX_MEANS : SW_NO_PFI_MEAN;
    }
    return means.available[MEAN_PFI] ? SW_NO_VFI_MEAN : SW_NO_INDEX_MEAN;
}

} // namespace

int computeStrengthsWeaknesses(int swBase) {
    swNsMarked = 0;
    std::memset(StrengthsWeaknesses, 0, sizeof StrengthsWeaknesses);
    const TestOccasion& occasion = testOccasion();
    const Means means = computeMeans(occasion);
    const int status = statusOf(swBase, means);
    const SwTableRow* table = status == SW_TOTAL_MEAN ? SW_TOTAL_MEAN_TABLE : SW_INDEX_MEAN_TABLE;
    for (int row = 0; row < kSwRowCount; ++row) {
        fillRow(StrengthsWeaknesses[row], table[row], means, occasion);
    }
    return status;
}

double roundTo2(double x) {
    const double a = std::fabs(x) * 100.0;
    double n = std::trunc(a);
    const double f = a - n;
    const bool odd = std::fmod(n, 2.0) == 1.0;
    if (odd ? f >= 0.5 : f > 0.4999) {
        n += 1.0;
    }
    const double rounded = n * 0.01;
    return x < 0 ? -rounded : rounded;
}
