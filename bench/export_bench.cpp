// SPDX-License-Identifier: Apache-2.0
// The export of a whole register, with every column group chosen.

#include "bench_database.h"
#include "db.h"
#include "export_writer.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

void exportRegister(benchmark::State& state, bool reuseNormRows) {
    const int persons = static_cast<int>(state.range(0));
    BenchDatabase database(persons);
    const std::string path = (database.directory() / "export.txt").string();
    ExportSelection all;
    for (bool& group : all.groups) {
        group = true;
    }
    TestOccasion occasion{};
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    for (auto _ : state) {
        ExportResult result;
        if (reuseNormRows) {
            result = writeExport(path, all, occasion);
        } else {
            result = writeExport(path, all, occasion, databaseNorms(), nullptr);
        }
        if (result != ExportResult::Written) {
            state.SkipWithError("export failed");
        }
    }
    state.counters["persons"] = persons;
}

void BM_ExportReusingNormRows(benchmark::State& state) {
    exportRegister(state, true);
}
BENCHMARK(BM_ExportReusingNormRows)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_ExportOneStatementPerLookup(benchmark::State& state) {
    exportRegister(state, false);
}
BENCHMARK(BM_ExportOneStatementPerLookup)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The check of the file that every export makes first; compare with BM_ExportReusingNormRows.
void BM_RegisterQuickCheck(benchmark::State& state) {
    const int persons = static_cast<int>(state.range(0));
    BenchDatabase database(persons);
    for (auto _ : state) {
        if (DoCheckRegisterIntact() != DB_DONE) {
            state.SkipWithError("check failed");
        }
    }
    state.counters["persons"] = persons;
}
BENCHMARK(BM_RegisterQuickCheck)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
