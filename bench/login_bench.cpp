// SPDX-License-Identifier: Apache-2.0
// The password check of a login against a stored Argon2id hash, and the first login of an older
// database, whose plain-text password is then replaced by its hash.

#include "bench_database.h"
#include "db.h"
#include "statement.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoginAgainstStoredHash(benchmark::State& state) {
    BenchDatabase database(0); // user "bench", password "bench123", stored as its hash
    for (auto _ : state) {
        if (DoReadPassword("bench", "bench123") != DB_DONE) {
            state.SkipWithError("login refused");
        }
    }
}
BENCHMARK(BM_LoginAgainstStoredHash)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_FirstLoginWithPlainTextPassword(benchmark::State& state) {
    BenchDatabase database(0);
    for (auto _ : state) {
        state.PauseTiming();
        Statement statement;
        statement.executeDirect("UPDATE SEC SET PASSWORD = 'bench123'");
        statement.commit();
        state.ResumeTiming();
        if (DoReadPassword("bench", "bench123") != DB_DONE) {
            state.SkipWithError("login refused");
        }
    }
}
BENCHMARK(BM_FirstLoginWithPlainTextPassword)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
