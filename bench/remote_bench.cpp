// SPDX-License-Identifier: Apache-2.0
// The shared register far away: login, opening the results of one person, the five-sheet PDF and
// the export of 1 000 and 10 000 persons and report --all --json of 1 000, against a throwaway
// PostgreSQL server reached through a proxy that delays every round trip by 0, 2 and 10 ms; then
// what the earlier-tests list reads of 100 000 persons. Prints the times and the round trips.
//
//   scripts/pg-test-server start            # prints FOLDER
//   build/bench/rivo_remote_bench FOLDER build/tools/rivo-admin

#include "bench_database.h"
#include "data_source.h"
#include "db.h"
#include "delaying_proxy.h"
#include "results_opening.h"
#include "statement.h"
#include "test_occasion.h"

#if __has_include("memory_norm_source.h")
#include "memory_norm_source.h"
#define RIVO_NORMS_IN_MEMORY 1
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// The bench's schema as a setting of the session's start (libpq's options), as a clinic would set
// it on the role: each ConnSettings statement would cost a round trip of its own.
constexpr const char* kBenchSchemaOption = "pqopt={options=-csearch_path=rivo_bench};";

std::string connectionVia(const std::string& server, int port) {
    return "DRIVER=PostgreSQL ANSI;Servername=" + server + ";Port=" + std::to_string(port) +
           ";Database=rivo;Username=rivo;" + kBenchSchemaOption;
}

struct Figure {
    double seconds;
    long roundTrips;
};

Figure measure(const DelayingProxy& proxy, const std::function<void()>& work) {
    const long before = proxy.roundTrips();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return Figure{elapsed.count(), proxy.roundTrips() - before};
}

void login(const std::string& connection) {
    // With the driver options the program connects with.
    if (DoConnectString(serverConnectionString(connection).c_str()) != 1 ||
        DoReadPassword("bench", "bench123") != DB_DONE) {
        std::fprintf(stderr, "login failed\n");
        std::exit(1);
    }
    DoFixNiTest();
#ifdef RIVO_NORMS_IN_MEMORY
    currentNorms();
#endif
}

void openResults() {
    TestOccasion& occasion = testOccasion();
    resetTestOccasion();
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    DoReadPD(1, occasion.person);
    DoReadTD(occasion);
    int subgroups = 0;
    scoreOpenedOccasion(occasion, [&subgroups](const char*) { ++subgroups; });
    if (subgroups == 0 || occasion.indexes[HIK].valid != 1) {
        std::fprintf(stderr, "the results were not scored\n");
        std::exit(1);
    }
}

// rivo-admin with the register on the far side of the proxy.
void runAdmin(const std::filesystem::path& home, const std::string& admin,
              const std::string& arguments) {
    const std::string command = "cd " + home.string() + " && XDG_CONFIG_HOME=" + home.string() +
                                " " + admin + " " + arguments + " >/dev/null 2>" +
                                (home / "stderr").string();
    const int status = std::system(command.c_str());
    if (status != 0 && WEXITSTATUS(status) != 2) {
        std::fprintf(stderr, "%s failed\n", arguments.c_str());
        std::exit(1);
    }
}

void printRow(const char* work, const Figure* figures) {
    std::printf("| %s |", work);
    for (int i = 0; i < 3; ++i) {
        std::printf(" %.3f s (%ld) |", figures[i].seconds, figures[i].roundTrips);
    }
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PG-FOLDER RIVO-ADMIN\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string admin = std::filesystem::absolute(argv[2]).string();
    const std::string direct =
        "DRIVER=PostgreSQL ANSI;Servername=" + folder + ";Port=5432;Database=rivo;Username=rivo;";
    ::setenv("RIVO_BENCH_ODBC", direct.c_str(), 1);
    BenchDatabase database(1000);
    DoDisconnect();
    const std::filesystem::path home = database.directory();
    std::filesystem::create_directories(home / "RIVO-IV");

    const int delays[] = {0, 2, 10};
    Figure logins[3], openings[3], pdfs[3], exports1000[3], exports10000[3], reportsAll[3];
    for (int i = 0; i < 3; ++i) {
        DelayingProxy proxy(folder + "/.s.PGSQL.5432", delays[i]);
        const std::string connection = connectionVia("127.0.0.1", proxy.port());
        std::ofstream(home / "RIVO-IV" / "datakalla.ini") << "ODBC=" << connection << "\n";
        logins[i] = measure(proxy, [&] { login(connection); });
        openResults(); // the first opening after login, as the program's start screen leads to
        openings[i] = measure(proxy, openResults);
        DoDisconnect();
        pdfs[i] = measure(proxy, [&] {
            runAdmin(home, admin, "report --id 1 --pdf " + (home / "r.pdf").string());
        });
        exports1000[i] = measure(proxy, [&] {
            runAdmin(home, admin, "export --groups 0,1,2,3 " + (home / "e.txt").string());
        });
        reportsAll[i] = measure(proxy, [&] {
            runAdmin(home, admin, "report --all --json " + (home / "r.jsonl").string());
        });
    }
    DoConnectString((direct + "ConnSettings=SET search_path TO rivo_bench;").c_str());
    DoReadNameID();
    addBenchPersons(9000);
    DoDisconnect();
    for (int i = 0; i < 3; ++i) {
        DelayingProxy proxy(folder + "/.s.PGSQL.5432", delays[i]);
        std::ofstream(home / "RIVO-IV" / "datakalla.ini")
            << "ODBC=" << connectionVia("127.0.0.1", proxy.port()) << "\n";
        exports10000[i] = measure(proxy, [&] {
            runAdmin(home, admin, "export --groups 0,1,2,3 " + (home / "e.txt").string());
        });
    }
    // The earlier-tests list of 100 000 persons: what it reads from the server when shown (newest
    // first) and when re-sorted by name, the order of all and the first page of rows; the
    // ordering in Swedish and the painting are the workstation's own.
    DoConnectString((direct + "ConnSettings=SET search_path TO rivo_bench;").c_str());
    {
        Statement fill;
        if (!fill.executeDirect(
                "INSERT INTO TESTPERSON (ID, NAMN, TESTLEDARE, TESTDATE, OTHER, SEX, BORNDATE, "
                "UTBILDNING, NATIONALITET, HOMELANGUAGE) SELECT G + M, 'Person ' || (G * 7919 % "
                "100003), 'Lena Ärlig', DATE '2010-06-01', 'Övrigt: inga', 1 + G % 2, DATE "
                "'1950-01-01', 'Gymnasium', 'Sverige', 'Svenska' FROM generate_series(1, 90000) "
                "AS G, (SELECT MAX(ID) AS M FROM TESTPERSON) AS L") ||
            !fill.commit()) {
            std::fprintf(stderr, "the persons were not stored\n");
            return 1;
        }
    }
    DoDisconnect();
    Figure listsShown[3], listsByName[3];
    const auto readList = [](int sortColumn, int descending) {
        std::vector<std::int32_t> ids;
        std::size_t persons = 0;
        DoListPersonOrder(sortColumn, descending, [&](const PersonOrderRow& row) {
            ++persons;
            if (ids.size() < kPersonListPageSize) {
                ids.push_back(row.ID);
            }
        });
        std::size_t shown = 0;
        DoReadPersonListPage(ids, [&shown](const PersonListRow&) { ++shown; });
        if (persons != 100000 || shown != kPersonListPageSize) {
            std::fprintf(stderr, "the list read %zu persons and %zu rows\n", persons, shown);
            std::exit(1);
        }
    };
    for (int i = 0; i < 3; ++i) {
        DelayingProxy proxy(folder + "/.s.PGSQL.5432", delays[i]);
        DoConnectString(serverConnectionString(connectionVia("127.0.0.1", proxy.port())).c_str());
        listsShown[i] = measure(proxy, [&] { readList(9, 1); });
        listsByName[i] = measure(proxy, [&] { readList(0, 0); });
        DoDisconnect();
    }
    std::printf("| Work | 0 ms | 2 ms | 10 ms round trip |\n|---|---|---|---|\n");
    printRow("login (connect, password, start-up statements)", logins);
    printRow("opening the results of one person", openings);
    printRow("`report --id 1 --pdf` (five sheets, whole command)", pdfs);
    printRow("`export`, 1 000 persons, all groups", exports1000);
    printRow("`export`, 10 000 persons, all groups", exports10000);
    printRow("`report --all --json`, 1 000 persons", reportsAll);
    printRow("earlier-tests list, 100 000 persons: read when shown", listsShown);
    printRow("earlier-tests list, 100 000 persons: read when re-sorted by name", listsByName);
    return 0;
}
