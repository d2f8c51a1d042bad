// SPDX-License-Identifier: Apache-2.0
// rivo_fill_register PERSONS FOLDER: a demonstration database DODODA.db in FOLDER with that many
// generated persons (the benchmarks' own), for measuring rivo-admin on a register of that size.

#include "bench_database.h"
#include "db.h"
#include "demo_database.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "Användning: rivo_fill_register ANTAL MAPP\n");
        return 2;
    }
    const std::string path = (std::filesystem::path(argv[2]) / kDatabaseFileName).string();
    std::string error;
    if (!createDemoDatabase(path, "bench", "bench123", error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (DoConnect("", "", path.c_str()) != 1 || DoReadNameID() != DB_DONE) {
        return 1;
    }
    try {
        addBenchPersons(std::atoi(argv[1]));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    DoDisconnect();
    return 0;
}
