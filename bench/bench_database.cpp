// SPDX-License-Identifier: Apache-2.0
#include "bench_database.h"

#include "db.h"
#include "demo_database.h"
#include "statement.h"
#include "subtest_table.h"
#include "transaction.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>

namespace {

bool run(const char* sql) {
    Statement statement;
    return statement.executeDirect(sql) && statement.commit();
}

} // namespace

void addBenchPersons(int persons) {
    std::mt19937 random(20111213);
    Transaction transaction;
    for (int i = 0; i < persons; ++i) {
        TestOccasion occasion{};
        std::snprintf(occasion.person.NAMN, sizeof occasion.person.NAMN, "Testperson %05d Åberg",
                      i);
        std::strcpy(occasion.person.TESTLEDARE, "Märta Öst");
        occasion.person.SEX = 1 + i % 2;
        occasion.person.HANDEDNESS = 2;
        const int age = 16 + static_cast<int>(random() % 75);
        occasion.person.BORNDATE = DateValue{static_cast<std::int16_t>(2010 - age), 3, 15};
        occasion.person.TESTDATE = DateValue{2010, 6, 1};
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
        for (int raw = 0; raw < kRawScoreCount; ++raw) {
            const int maximum =
                raw == RAW_SIFFERREPETITION ? kSifferrepetitionMax : kSubtests[raw].formMax;
            occasion.RawScores[raw] =
                random() % 10 == 0 ? NOT_ADMINISTERED : static_cast<int>(random() % (maximum + 1));
        }
        if (DoInsertPD(occasion.person) != DB_DONE || DoInsertTD(occasion) != DB_DONE) {
            throw std::runtime_error("could not store a person");
        }
    }
    if (!transaction.commit()) {
        throw std::runtime_error("could not store the persons");
    }
}

BenchDatabase::BenchDatabase(int persons) {
    char pattern[] = "/tmp/rivo-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    directory_ = pattern;
    std::string error;
    const char* server = std::getenv("RIVO_BENCH_ODBC");
    if (server != nullptr && server[0] != '\0') {
        // The register in a schema of its own on the server, made afresh for each benchmark.
        if (DoConnectString(server) != 1 || !run("SET client_min_messages TO WARNING") ||
            !run("DROP SCHEMA IF EXISTS rivo_bench CASCADE") || !run("CREATE SCHEMA rivo_bench")) {
            throw std::runtime_error("the server's bench schema cannot be made");
        }
        DoDisconnect();
        std::string connection = server;
        connection += connection.ends_with(";") ? "" : ";";
        connection += "ConnSettings=SET search_path TO rivo_bench;";
        if (!createDemoRegisterOnServer(connection, "bench", "bench123", error)) {
            throw std::runtime_error(error);
        }
        if (DoConnectString(connection.c_str()) != 1) {
            throw std::runtime_error("connect failed");
        }
    } else {
        path_ = (directory_ / kDatabaseFileName).string();
        if (!createDemoDatabase(path_, "bench", "bench123", error)) {
            throw std::runtime_error(error);
        }
        if (DoConnect("", "", path_.c_str()) != 1) {
            throw std::runtime_error("connect failed");
        }
    }
    DoReadNameID();
    addBenchPersons(persons);
}

BenchDatabase::~BenchDatabase() {
    DoDisconnect();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}
