// SPDX-License-Identifier: Apache-2.0
#include "demo_norms.h"

#include "subtest_table.h"

#include <algorithm>
#include <cmath>
#include <iterator>

// Synthetic demonstration norms. Every number below is invented; data/README.md states the model.

namespace {

struct AgeBand {
    const char* text;
    int firstYear; // whole years of test age, both ends included
    int lastYear;
};

constexpr AgeBand kBands[] = {
    {"16-17 år", 16, 17}, {"18-19 år", 18, 19}, {"20-24 år", 20, 24}, {"25-29 år", 25, 29},
    {"30-34 år", 30, 34}, {"35-44 år", 35, 44}, {"45-54 år", 45, 54}, {"55-64 år", 55, 64},
    {"65-69 år", 65, 69}, {"70-74 år", 70, 74}, {"75-79 år", 75, 79}, {"80-84 år", 80, 84},
    {"85-90 år", 85, 90},
};
constexpr int kBandCount = static_cast<int>(std::size(kBands));

constexpr const char* kReferenceGroup = "Referensgrupp";
constexpr const char* kReferenceDescription = "Referensgrupp (20-34 år)";
// The reference group pools the three bands 20-24, 25-29 and 30-34 år.
constexpr int kReferenceFirstBand = 2;
constexpr int kReferenceLastBand = 4;

// From this band on, the subscales without old-age norms get rows of -9.
constexpr int kFirstBandWithoutNorms = 9; // "70-74 år"

constexpr double kYoungestAge = 16.0;
constexpr double kOldestAge = 88.0; // middle of "85-90 år"
constexpr double kDeclineExponent = 1.5;
constexpr double kSdGrowth = 0.10; // relative widening of the SD per peak SD of age effect

// Raw-score model of one subscale, in subscale order.
struct SubscaleModel {
    double peakMean; // raw-score mean at the peak age
    double peakSd;   // raw-score SD at the peak age
    double peakAge;
    double rise;    // peak SDs gained from age 16 to the peak age
    double decline; // peak SDs lost from the peak age to age 88
    bool normedFrom70;
};

constexpr SubscaleModel kModels[kSubscaleCount] = {
    {40.0, 9.0, 27.0, 0.3, 2.0, true},  // Blockmönster
    {35.0, 4.5, 27.0, 0.3, 1.7, true},  // BUT
    {24.0, 4.2, 35.0, 0.5, 1.0, true},  // Likheter
    {28.0, 5.6, 27.0, 0.2, 1.3, true},  // Sifferrepetition
    {10.0, 2.1, 27.0, 0.2, 0.9, true},  // SF
    {9.0, 2.3, 27.0, 0.2, 1.2, true},   // SB
    {9.0, 2.4, 27.0, 0.2, 1.5, true},   // SS
    {17.0, 3.1, 27.0, 0.3, 1.8, true},  // Matriser
    {35.0, 7.5, 35.0, 0.6, 0.8, true},  // Ordförråd
    {13.5, 2.9, 35.0, 0.4, 1.1, true},  // Aritmetik
    {36.0, 8.0, 22.0, 0.2, 2.6, true},  // Symbolletning
    {15.0, 3.8, 27.0, 0.3, 1.8, true},  // Visuella pussel
    {14.0, 4.1, 35.0, 0.6, 0.8, true},  // Information
    {80.0, 15.0, 22.0, 0.2, 2.6, true}, // Kodning
    {20.0, 3.0, 27.0, 0.3, 1.5, false}, // Bss
    {16.0, 3.8, 27.0, 0.3, 1.6, false}, // Figurvikter
    {22.0, 4.8, 35.0, 0.5, 0.9, true},  // Förståelse
    {42.0, 9.0, 22.0, 0.2, 2.4, false}, // Överstrykning
    {14.5, 3.2, 27.0, 0.3, 1.5, true},  // Bildkomplettering
};

struct RawDistribution {
    double mean;
    double sd;
};

int formMax(int subscale) {
    if (subscale == SUB_SIFFERREPETITION)
        return kSifferrepetitionMax;
    return kSubtests[kSubscaleRawScore[subscale]].formMax;
}

double bandMidAge(const AgeBand& band) {
    return (band.firstYear + band.lastYear + 1) / 2.0;
}

// Age effect in peak SDs: a linear rise from 16 to the peak, then an accelerating decline.
double ageEffect(const SubscaleModel& m, double age) {
    if (age <= m.peakAge)
        return -m.rise * (m.peakAge - age) / (m.peakAge - kYoungestAge);
    return -m.decline * std::pow((age - m.peakAge) / (kOldestAge - m.peakAge), kDeclineExponent);
}

RawDistribution bandDistribution(const SubscaleModel& m, const AgeBand& band) {
    const double effect = ageEffect(m, bandMidAge(band));
    return {m.peakMean + effect * m.peakSd, m.peakSd * (1.0 + kSdGrowth * std::fabs(effect))};
}

// The pooled distribution of equally large bands.
RawDistribution pooledDistribution(const SubscaleModel& m, int firstBand, int lastBand) {
    const int count = lastBand - firstBand + 1;
    double meanSum = 0.0;
    for (int b = firstBand; b <= lastBand; ++b)
        meanSum += bandDistribution(m, kBands[b]).mean;
    const double mean = meanSum / count;
    double variance = 0.0;
    for (int b = firstBand; b <= lastBand; ++b) {
        const RawDistribution d = bandDistribution(m, kBands[b]);
        variance += d.sd * d.sd + (d.mean - mean) * (d.mean - mean);
    }
    return {mean, std::sqrt(variance / count)};
}

// Sk is the highest raw score whose scaled value 10 + 3 (raw - mean) / sd rounds to k or less
// (halves down), clamped into [0, form max]; S19 is the form maximum.
void fillBounds(NormRow& row, const RawDistribution& d, int max) {
    int previous = 0;
    for (int k = 1; k <= 18; ++k) {
        const int bound = static_cast<int>(std::floor(d.mean + d.sd * (k - 9.5) / 3.0));
        previous = std::max(previous, std::clamp(bound, 0, max));
        row.S[k - 1] = previous;
    }
    row.S[18] = max;
}

NormRow normRow(int subscale, const char* delgrupp, const RawDistribution& d) {
    NormRow row{kDelskala[subscale], delgrupp, {}};
    fillBounds(row, d, formMax(subscale));
    return row;
}

NormRow withoutNorms(int subscale, const char* delgrupp) {
    NormRow row{kDelskala[subscale], delgrupp, {}};
    std::fill(std::begin(row.S), std::end(row.S), NOT_ADMINISTERED);
    return row;
}

// Index model: n scaled scores with an average inter-correlation rho, and the reliability that
// sets the confidence intervals.
struct IndexModel {
    const char* key;
    int subtests;
    double rho;
    double reliability;
};

constexpr IndexModel kIndexModels[kIndexCount] = {
    {kIndexKeys[VFI], 3, 0.70, 0.93},  {kIndexKeys[PFI], 3, 0.55, 0.90},
    {kIndexKeys[AI], 2, 0.55, 0.90},   {kIndexKeys[SI], 2, 0.50, 0.85},
    {kIndexKeys[HIK], 10, 0.45, 0.96}, {kIndexKeys[GAI], 6, 0.55, 0.95},
};

constexpr int kLowestIk = 40;
constexpr int kHighestIk = 160;
constexpr double kZ90 = 1.645;
constexpr double kZ95 = 1.96;

int roundHalfUp(double x) {
    return static_cast<int>(std::floor(x + 0.5));
}

int clampIk(double x) {
    return std::clamp(roundHalfUp(x), kLowestIk, kHighestIk);
}

float percentile(int ik) {
    const double z = (ik - 100) / 15.0;
    const double p = 50.0 * std::erfc(-z / std::sqrt(2.0));
    return static_cast<float>(std::floor(p * 10.0 + 0.5) / 10.0);
}

// IK from the normal model of the sum, PERC from IK, and intervals around the estimated true
// score 100 + r (IK - 100) with the standard error of estimation 15 sqrt(r (1 - r)).
void appendIndexRows(std::vector<IndexNormRow>& rows, const IndexModel& m) {
    const int n = m.subtests;
    const double mean = 10.0 * n;
    const double sd = 3.0 * std::sqrt(n + n * (n - 1) * m.rho);
    const double standardError = 15.0 * std::sqrt(m.reliability * (1.0 - m.reliability));
    int previousIk = kLowestIk;
    for (int skal = n; skal <= 19 * n; ++skal) {
        const int ik = std::max(previousIk, clampIk(100.0 + 15.0 * (skal - mean) / sd));
        previousIk = ik;
        const double trueScore = 100.0 + m.reliability * (ik - 100);
        const double half90 = kZ90 * standardError;
        const double half95 = kZ95 * standardError;
        rows.push_back({m.key, skal, ik, percentile(ik), clampIk(trueScore - half90),
                        clampIk(trueScore + half90), clampIk(trueScore - half95),
                        clampIk(trueScore + half95)});
    }
}

} // namespace

std::vector<NormGroupRow> demoNormGroups() {
    std::vector<NormGroupRow> groups;
    for (int b = 0; b < kBandCount; ++b)
        groups.push_back({kBands[b].text, b + 1, kBands[b].text});
    groups.push_back({kReferenceGroup, kBandCount + 1, kReferenceDescription});
    return groups;
}

std::vector<NormRow> demoNormRows() {
    std::vector<NormRow> rows;
    rows.reserve((kBandCount + 1) * kSubscaleCount);
    for (int b = 0; b < kBandCount; ++b) {
        for (int s = 0; s < kSubscaleCount; ++s) {
            const SubscaleModel& m = kModels[s];
            if (!m.normedFrom70 && b >= kFirstBandWithoutNorms)
                rows.push_back(withoutNorms(s, kBands[b].text));
            else
                rows.push_back(normRow(s, kBands[b].text, bandDistribution(m, kBands[b])));
        }
    }
    for (int s = 0; s < kSubscaleCount; ++s)
        rows.push_back(
            normRow(s, kReferenceGroup,
                    pooledDistribution(kModels[s], kReferenceFirstBand, kReferenceLastBand)));
    return rows;
}

std::vector<IndexNormRow> demoIndexNormRows() {
    std::vector<IndexNormRow> rows;
    for (const IndexModel& m : kIndexModels)
        appendIndexRows(rows, m);
    return rows;
}
