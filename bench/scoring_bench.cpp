// SPDX-License-Identifier: Apache-2.0
// Scoring one occasion: through ODBC as the program does it, and the same lookups as prepared
// statements on SQLite in process (the floor).

#include "age_band.h"
#include "bench_database.h"
#include "db.h"
#include "memory_norm_source.h"
#include "norm_checks.h"
#include "norm_snapshot.h"
#include "scaled_scores.h"
#include "subtest_table.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

TestOccasion sampleOccasion() {
    TestOccasion occasion{};
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    occasion.person.BORNDATE = DateValue{1980, 3, 15};
    occasion.person.TESTDATE = DateValue{2010, 6, 1};
    for (int raw = 0; raw < kRawScoreCount; ++raw) {
        occasion.RawScores[raw] = kSubtests[raw].formMax / 2;
    }
    occasion.RawScores[RAW_SIFFERREPETITION] = 24;
    return occasion;
}

void BM_ScoreOccasionThroughOdbc(benchmark::State& state) {
    BenchDatabase database(0);
    TestOccasion occasion = sampleOccasion();
    for (auto _ : state) {
        selectAgeBand(occasion);
        computeScaledScores(occasion);
        benchmark::DoNotOptimize(occasion.indexes[HIK].IK);
    }
}
BENCHMARK(BM_ScoreOccasionThroughOdbc)->Unit(benchmark::kMicrosecond);

// As the results screen scores since the norm tables are held in memory: the version stamp read
// through ODBC, then every lookup from memory.
void BM_ScoreOccasionFromNormsInMemory(benchmark::State& state) {
    BenchDatabase database(0);
    TestOccasion occasion = sampleOccasion();
    for (auto _ : state) {
        NormSource& norms = currentNorms();
        selectAgeBand(occasion, norms);
        computeScaledScores(occasion, norms);
        benchmark::DoNotOptimize(occasion.indexes[HIK].IK);
    }
}
BENCHMARK(BM_ScoreOccasionFromNormsInMemory)->Unit(benchmark::kMicrosecond);

// What reading the norm tables afresh costs (a new stamp): the snapshot the lookups answer from,
// and beside it the rows the rules of check-norms are checked on, read and checked.
void BM_ReadNormSnapshot(benchmark::State& state) {
    BenchDatabase database(0);
    for (auto _ : state) {
        NormSnapshot snapshot;
        benchmark::DoNotOptimize(DoReadNormSnapshot(snapshot));
    }
}
BENCHMARK(BM_ReadNormSnapshot)->Unit(benchmark::kMillisecond);

void BM_ReadAndCheckNormTables(benchmark::State& state) {
    BenchDatabase database(0);
    for (auto _ : state) {
        NormTables tables;
        benchmark::DoNotOptimize(DoReadNormTables(tables));
        benchmark::DoNotOptimize(checkNormTables(tables, false).size());
    }
}
BENCHMARK(BM_ReadAndCheckNormTables)->Unit(benchmark::kMillisecond);

void BM_CheckNormTables(benchmark::State& state) {
    BenchDatabase database(0);
    NormTables tables;
    DoReadNormTables(tables);
    for (auto _ : state) {
        benchmark::DoNotOptimize(checkNormTables(tables, false).size());
    }
}
BENCHMARK(BM_CheckNormTables)->Unit(benchmark::kMillisecond);

// The same 51 lookups (description, 38 norm rows, 6 ranges, 6 index rows) with statements
// prepared once and reused.
class NativeLookups {
  public:
    explicit NativeLookups(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            throw std::runtime_error("sqlite3_open failed");
        }
        description_ = prepare("SELECT BESKRIVNING FROM NORMGRUPPER WHERE NORMGRUPP=? AND "
                               "DELGRUPP=?");
        norm_ = prepare("SELECT S1, S2, S3, S4, S5, S6, S7, S8, S9, S10, S11, S12, S13, S14, S15, "
                        "S16, S17, S18, S19 FROM NORMER WHERE NORMGRUPP =? AND DELSKALA=? AND "
                        "DELGRUPP=?");
        range_ = prepare("SELECT MAX(SKAL), MIN(SKAL) FROM INDEX_NORMER WHERE NORMGRUPP=? AND "
                         "\"INDEX\"=?");
        index_ = prepare("SELECT IK, PERC, KONF_LOW90, KONF_HIGH90, KONF_LOW95, KONF_HIGH95 FROM "
                         "INDEX_NORMER WHERE NORMGRUPP=? AND \"INDEX\"=? AND SKAL=?");
    }
    ~NativeLookups() {
        for (sqlite3_stmt* statement : {description_, norm_, range_, index_}) {
            sqlite3_finalize(statement);
        }
        sqlite3_close(db_);
    }
    NativeLookups(const NativeLookups&) = delete;
    NativeLookups& operator=(const NativeLookups&) = delete;

    int scoreOnce(const TestOccasion& occasion) {
        int total = 0;
        bindText(description_, 1, occasion.NORMGRUPP);
        bindText(description_, 2, "25-29 år");
        total += step(description_);
        for (const char* subgroup : {"25-29 år", kReferenceGroup}) {
            for (const char* delskala : kDelskala) {
                bindText(norm_, 1, occasion.NORMGRUPP);
                bindText(norm_, 2, delskala);
                bindText(norm_, 3, subgroup);
                total += step(norm_);
            }
        }
        for (const char* key : kIndexKeys) {
            bindText(range_, 1, occasion.NORMGRUPP);
            bindText(range_, 2, key);
            total += step(range_);
            bindText(index_, 1, occasion.NORMGRUPP);
            bindText(index_, 2, key);
            sqlite3_bind_int(index_, 3, 30);
            total += step(index_);
        }
        return total;
    }

  private:
    sqlite3_stmt* prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(db_));
        }
        return statement;
    }
    static void bindText(sqlite3_stmt* statement, int index, const char* text) {
        sqlite3_bind_text(statement, index, text, -1, SQLITE_STATIC);
    }
    static int step(sqlite3_stmt* statement) {
        int sum = 0;
        if (sqlite3_step(statement) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                sum += sqlite3_column_int(statement, column);
            }
        }
        sqlite3_reset(statement);
        return sum;
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* description_ = nullptr;
    sqlite3_stmt* norm_ = nullptr;
    sqlite3_stmt* range_ = nullptr;
    sqlite3_stmt* index_ = nullptr;
};

void BM_ScoreOccasionNativeFloor(benchmark::State& state) {
    BenchDatabase database(0);
    if (database.path().empty()) {
        state.SkipWithError("the floor is SQLite in process");
        return;
    }
    NativeLookups lookups(database.path());
    const TestOccasion occasion = sampleOccasion();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookups.scoreOnce(occasion));
    }
}
BENCHMARK(BM_ScoreOccasionNativeFloor)->Unit(benchmark::kMicrosecond);

} // namespace
