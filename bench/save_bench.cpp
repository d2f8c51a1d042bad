// SPDX-License-Identifier: Apache-2.0
// Saving a test occasion in one transaction, and the whole step of "&Visa resultat": the entries
// checked, the occasion saved and committed, and scored.

#include "age_band.h"
#include "bench_database.h"
#include "db.h"
#include "raw_score_validation.h"
#include "save_occasion.h"
#include "scaled_scores.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <stdexcept>

namespace {

TestOccasion newOccasion() {
    TestOccasion occasion{};
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    std::strcpy(occasion.person.NAMN, "Åsa Öberg");
    std::strcpy(occasion.person.TESTLEDARE, "Märta Ek");
    occasion.person.SEX = 2;
    occasion.person.BORNDATE = DateValue{1980, 3, 15};
    occasion.person.TESTDATE = DateValue{2010, 6, 1};
    occasion.TD_TESTDATE = occasion.person.TESTDATE;
    return occasion;
}

// What a test leader types: every field given, Sifferrepetition 10 + 8 + 9.
RawScoreTexts typedEntries() {
    return {"40", "30", "20", "10", "6",  "8",  "5", "9",  "6",  "15", "30",
            "12", "33", "14", "15", "70", "20", "5", "12", "20", "40", "13"};
}

void BM_SaveNewOccasion(benchmark::State& state) {
    BenchDatabase database(0);
    TestOccasion occasion = newOccasion();
    checkRawScores(typedEntries(), occasion);
    for (auto _ : state) {
        occasion.person.ID = 0;
        if (saveTestOccasion(occasion, 0) != 1) {
            throw std::runtime_error("save failed");
        }
    }
}
BENCHMARK(BM_SaveNewOccasion)->Unit(benchmark::kMillisecond);

void BM_SaveChangedOccasion(benchmark::State& state) {
    BenchDatabase database(100);
    TestOccasion occasion = newOccasion();
    checkRawScores(typedEntries(), occasion);
    if (saveTestOccasion(occasion, 0) != 1) {
        throw std::runtime_error("save failed");
    }
    int round = 0;
    for (auto _ : state) {
        // A changed value each time: SQLite does not write a row rewritten unchanged.
        occasion.RawScores[0] = 40 + (++round % 2);
        if (saveTestOccasion(occasion, 1) != 1) {
            throw std::runtime_error("save failed");
        }
    }
}
BENCHMARK(BM_SaveChangedOccasion)->Unit(benchmark::kMillisecond);

void BM_ShowResultsStep(benchmark::State& state) {
    BenchDatabase database(1000);
    const RawScoreTexts entries = typedEntries();
    TestOccasion occasion = newOccasion();
    for (auto _ : state) {
        occasion.person.ID = 0;
        if (!checkRawScores(entries, occasion).valid || saveTestOccasion(occasion, 0) != 1) {
            throw std::runtime_error("save failed");
        }
        selectAgeBand(occasion);
        computeScaledScores(occasion);
        benchmark::DoNotOptimize(occasion.indexes[HIK].IK);
    }
}
BENCHMARK(BM_ShowResultsStep)->Unit(benchmark::kMillisecond);

} // namespace
