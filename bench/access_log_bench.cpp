// SPDX-License-Identifier: Apache-2.0
// The access log's cost: what its row adds to a save (the save as it was, without the row, beside
// the save with it), and reading one person's rows out of a log of 1 000 000 rows.

#include "access_log.h"
#include "bench_database.h"
#include "db.h"
#include "log_formats.h"
#include "save_occasion.h"
#include "statement.h"
#include "transaction.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

TestOccasion benchOccasion() {
    TestOccasion occasion{};
    std::strcpy(occasion.person.NAMN, "Åsa Öberg");
    std::strcpy(occasion.person.TESTLEDARE, "Märta Ek");
    occasion.person.SEX = 2;
    occasion.person.BORNDATE = DateValue{1980, 3, 15};
    occasion.person.TESTDATE = DateValue{2010, 6, 1};
    for (std::int32_t& raw : occasion.RawScores) {
        raw = 10;
    }
    return occasion;
}

// The new occasion's three writes in one transaction, as the save made them before the log.
void BM_SaveWithoutLogRow(benchmark::State& state) {
    BenchDatabase database(0);
    TestOccasion occasion = benchOccasion();
    for (auto _ : state) {
        Transaction transaction;
        if (DoInsertPD(occasion.person) != DB_DONE || DoInsertTD(occasion) != DB_DONE ||
            !transaction.commit()) {
            throw std::runtime_error("save failed");
        }
    }
}
BENCHMARK(BM_SaveWithoutLogRow)->Unit(benchmark::kMillisecond);

void BM_SaveWithLogRow(benchmark::State& state) {
    BenchDatabase database(0);
    TestOccasion occasion = benchOccasion();
    for (auto _ : state) {
        if (saveTestOccasion(occasion, 0) != 1) {
            throw std::runtime_error("save failed");
        }
    }
}
BENCHMARK(BM_SaveWithLogRow)->Unit(benchmark::kMillisecond);

constexpr int kLogRows = 1000000;
constexpr int kLoggedPersons = 10000;

// One person's rows of a log of a million rows spread over ten thousand persons, in the
// terminal table of `rivo-admin log --person ID`.
void BM_LogOfOnePersonInAMillionRows(benchmark::State& state) {
    BenchDatabase database(0);
    {
        Statement fill;
        // After the demonstration register's own row. The statement starts with INSERT: the driver
        // steps a statement that starts with WITH as
        // a query, one row at a time.
        const std::string sql =
            "INSERT INTO ATKOMSTLOGG WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM "
            "n "
            "WHERE i < " +
            std::to_string(kLogRows) +
            ") SELECT i + 1, strftime('%Y-%m-%dT%H:%M:%S.000Z', 1700000000 + i * 60, 'unixepoch'), "
            "'psykolog', 'mottagning-1', 'RIVO_IV', 'results-viewed', i % " +
            std::to_string(kLoggedPersons) +
            ", '', '0000000000000000000000000000000000000000000000000000000000000000' FROM n";
        if (!fill.executeDirect(sql.c_str()) || !fill.commit()) {
            throw std::runtime_error("the log could not be filled (SQLite only)");
        }
    }
    AccessLogFilter filter;
    filter.person = 4242;
    std::size_t rows = 0;
    for (auto _ : state) {
        std::string table = accessLogTableHeader();
        DoListAccessLog(filter, [&](const AccessLogRow& row) { table += accessLogTableLine(row); });
        rows = static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n')) - 1;
        benchmark::DoNotOptimize(table);
    }
    if (rows != kLogRows / kLoggedPersons) {
        throw std::runtime_error("the person's rows were not all found");
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_LogOfOnePersonInAMillionRows)->Unit(benchmark::kMillisecond);

} // namespace
