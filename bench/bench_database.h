// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <filesystem>
#include <string>

// Stores that many persons with raw scores drawn from a fixed seed into the connected database,
// after the current ID counter.
void addBenchPersons(int persons);

// A demonstration database in a temporary directory, connected, with a number of stored
// persons whose raw scores are drawn from a fixed seed. When RIVO_BENCH_ODBC holds the connection
// string of a PostgreSQL database, the register is made there instead, in the schema rivo_bench
// (path() is then empty: the benchmarks that open the SQLite file themselves do not apply).
class BenchDatabase {
  public:
    explicit BenchDatabase(int persons);
    ~BenchDatabase();
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    const std::string& path() const { return path_; }
    std::filesystem::path directory() const { return directory_; }

  private:
    std::filesystem::path directory_;
    std::string path_;
};
