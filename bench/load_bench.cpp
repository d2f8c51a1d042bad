// SPDX-License-Identifier: Apache-2.0
// A clinic's workstations at once on the shared register. A throwaway PostgreSQL server is
// reached through a proxy that delays each direction by half the round trip. First each action
// alone (login, opening results, saving an occasion, `rivo-admin report --id N --json` as a whole
// command) with its round trips as the proxy counts them; then N workstations at once, each its
// own process and connection, opening results and saving occasions in a loop for a fixed time.
// Prints per action the median and 95th percentile and the round trips per action, and checks at
// the end that the access log is one unbroken chain and that no action failed.
//
//   scripts/pg-test-server start --max-connections 120    # prints FOLDER
//   build/bench/rivo_load_bench FOLDER build/tools/rivo-admin [--workstations 1,5,20,50]
//                               [--seconds 20] [--round-trip-ms 10] [--persons 1000]

#include "access_log.h"
#include "bench_database.h"
#include "data_source.h"
#include "db.h"
#include "delaying_proxy.h"
#include "memory_norm_source.h"
#include "message_box.h"
#include "results_opening.h"
#include "save_occasion.h"
#include "test_occasion.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The bench's schema as a setting of the session's start (libpq's options), as a clinic would set
// it on the role: each ConnSettings statement would cost a round trip of its own.
constexpr const char* kBenchSchemaOption = "pqopt={options=-csearch_path=rivo_bench};";

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string connectionVia(int port) {
    return "DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" + std::to_string(port) +
           ";Database=rivo;Username=rivo;" + kBenchSchemaOption;
}

// The bench's persons have raw scores drawn at random, whose stored sums the results screen
// would warn about; only what the database reports counts as a failure (reportedDatabaseFailures).
void quietMessages() {
    setMessageBoxHandler([](const MessageRequest& request) {
        if (!request.text.starts_with("Testpersonen ")) {
            std::fprintf(stderr, "%s\n", request.text.c_str());
        }
        return int{AnswerOk};
    });
}

// As the program logs in: connected through the configured data source's options, the password
// checked, the login logged and the start-up statements run.
bool login(const std::string& connection) {
    return DoConnectString(serverConnectionString(connection).c_str()) == 1 &&
           DoReadPassword("bench", "bench123") == DB_DONE &&
           DoLogLoginAttempt("bench", DB_DONE, true) && DoFixNiTest() == DB_DONE;
}

// The norm tables read whole, as the program does after login while the start screen shows.
bool readNorms() {
    const int failures = reportedDatabaseFailures();
    currentNorms();
    return normsReloaded() && reportedDatabaseFailures() == failures;
}

// As the earlier-tests list opens a person's results: the person, the raw scores, the log row,
// then the results screen scores them against the norms in memory.
bool openResults(std::int32_t id) {
    TestOccasion& occasion = testOccasion();
    resetTestOccasion();
    std::strcpy(occasion.NORMGRUPP, "Standardgrupp");
    bool hasScores = false;
    if (readOccasionForResults(id, occasion, hasScores) != DB_DONE || !hasScores ||
        !logBeforeReading(AccessEvent::ResultsViewed, id, "")) {
        return false;
    }
    // Some drawn persons have too few subtests for every index: only the norms must be there.
    int subgroups = 0;
    scoreOpenedOccasion(occasion, [&subgroups](const char*) { ++subgroups; });
    return subgroups > 0;
}

bool saveOccasion(int serial) {
    TestOccasion occasion{};
    std::snprintf(occasion.person.NAMN, sizeof occasion.person.NAMN, "Ny person %d Öst", serial);
    std::strcpy(occasion.person.TESTLEDARE, "Märta Ek");
    occasion.person.SEX = 1 + serial % 2;
    occasion.person.BORNDATE = DateValue{1980, 3, 15};
    occasion.person.TESTDATE = DateValue{2010, 6, 1};
    occasion.TD_TESTDATE = occasion.person.TESTDATE;
    for (std::int32_t& raw : occasion.RawScores) {
        raw = 10;
    }
    return saveTestOccasion(occasion, 0) == 1;
}

// One workstation: logs in, then opens results and saves occasions until the time is up. Writes
// one line per action ("open SECONDS", "save SECONDS", "failed WHAT") to its file.
int runWorkstation(const std::string& connection, double seconds, const std::string& out,
                   int persons, int seed) {
    quietMessages();
    std::ofstream lines(out);
    if (!login(connection) || !readNorms()) {
        lines << "failed login\n";
        return 1;
    }
    std::mt19937 random(static_cast<unsigned>(seed));
    const Clock::time_point end =
        Clock::now() + std::chrono::microseconds(static_cast<long>(seconds * 1e6));
    for (int serial = 0; Clock::now() < end; ++serial) {
        const std::int32_t id = 1 + static_cast<std::int32_t>(random() % persons);
        Clock::time_point start = Clock::now();
        lines << (openResults(id) ? "open " + std::to_string(secondsSince(start))
                                  : std::string("failed open"))
              << "\n";
        start = Clock::now();
        lines << (saveOccasion(seed * 100000 + serial)
                      ? "save " + std::to_string(secondsSince(start))
                      : std::string("failed save"))
              << "\n";
    }
    DoDisconnect();
    return reportedDatabaseFailures() == 0 ? 0 : 1;
}

struct Figure {
    double seconds;
    long roundTrips;
};

Figure measure(const DelayingProxy& proxy, const std::function<bool()>& work) {
    const long before = proxy.roundTrips();
    const Clock::time_point start = Clock::now();
    if (!work()) {
        std::fprintf(stderr, "an action failed alone\n");
        std::exit(1);
    }
    return Figure{secondsSince(start), proxy.roundTrips() - before};
}

bool runAdmin(const std::filesystem::path& home, const std::string& admin,
              const std::string& arguments) {
    const std::string command = "cd " + home.string() + " && XDG_CONFIG_HOME=" + home.string() +
                                " " + admin + " " + arguments + " >/dev/null 2>>" +
                                (home / "stderr").string();
    const int status = std::system(command.c_str());
    return status != -1 && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2);
}

double percentile(std::vector<double>& values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[index];
}

struct LoadFigures {
    std::vector<double> opens;
    std::vector<double> saves;
    int failures = 0;
    long roundTrips = 0;
};

LoadFigures runLoad(const std::string& self, const DelayingProxy& proxy,
                    const std::filesystem::path& home, int workstations, double seconds,
                    int persons) {
    LoadFigures figures;
    const std::string connection = connectionVia(proxy.port());
    const std::string secondsText = std::to_string(seconds);
    const std::string personsText = std::to_string(persons);
    std::vector<pid_t> children;
    std::vector<std::string> files;
    const long before = proxy.roundTrips();
    for (int i = 0; i < workstations; ++i) {
        files.push_back((home / ("workstation-" + std::to_string(i))).string());
        const std::string seed = std::to_string(workstations * 1000 + i + 1);
        std::vector<const char*> arguments = {
            self.c_str(),         "--workstation",     connection.c_str(), secondsText.c_str(),
            files.back().c_str(), personsText.c_str(), seed.c_str(),       nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, self.c_str(), nullptr, nullptr,
                        const_cast<char* const*>(arguments.data()), environ) != 0) {
            std::fprintf(stderr, "a workstation could not be started\n");
            std::exit(1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            ++figures.failures;
        }
    }
    figures.roundTrips = proxy.roundTrips() - before;
    for (const std::string& file : files) {
        std::ifstream in(file);
        std::string action;
        std::string value;
        while (in >> action >> value) {
            if (action == "open") {
                figures.opens.push_back(std::stod(value));
            } else if (action == "save") {
                figures.saves.push_back(std::stod(value));
            } else {
                ++figures.failures;
            }
        }
    }
    return figures;
}

std::vector<int> parseList(const std::string& text) {
    std::vector<int> values;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        values.push_back(std::stoi(item));
    }
    return values;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 7 && std::strcmp(argv[1], "--workstation") == 0) {
        return runWorkstation(argv[2], std::stod(argv[3]), argv[4], std::stoi(argv[5]),
                              std::stoi(argv[6]));
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s PG-FOLDER RIVO-ADMIN [--workstations 1,5,20,50] [--seconds 20] "
                     "[--round-trip-ms 10] [--persons 1000]\n",
                     argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string admin = std::filesystem::absolute(argv[2]).string();
    std::vector<int> workstationCounts = {1, 5, 20, 50};
    double seconds = 20;
    int roundTripMs = 10;
    int persons = 1000;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--workstations") {
            workstationCounts = parseList(argv[i + 1]);
        } else if (option == "--seconds") {
            seconds = std::stod(argv[i + 1]);
        } else if (option == "--round-trip-ms") {
            roundTripMs = std::stoi(argv[i + 1]);
        } else if (option == "--persons") {
            persons = std::stoi(argv[i + 1]);
        }
    }
    quietMessages();
    const std::string direct =
        "DRIVER=PostgreSQL ANSI;Servername=" + folder + ";Port=5432;Database=rivo;Username=rivo;";
    ::setenv("RIVO_BENCH_ODBC", direct.c_str(), 1);
    BenchDatabase database(persons);
    DoDisconnect();
    const std::filesystem::path home = database.directory();
    std::filesystem::create_directories(home / "RIVO-IV");
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();

    DelayingProxy proxy(folder + "/.s.PGSQL.5432", roundTripMs);
    const std::string connection = connectionVia(proxy.port());
    std::ofstream(home / "RIVO-IV" / "datakalla.ini") << "ODBC=" << connection << "\n";

    const Figure loginAlone = measure(proxy, [&] { return login(connection); });
    const Figure normsAlone = measure(proxy, readNorms);
    openResults(1); // the first opening after login, as the program's start screen leads to
    const Figure openAlone = measure(proxy, [] { return openResults(2); });
    const Figure saveAlone = measure(proxy, [] { return saveOccasion(0); });
    DoDisconnect();
    const Figure reportAlone = measure(proxy, [&] {
        return runAdmin(home, admin, "report --id 3 --json " + (home / "r.json").string());
    });
    std::printf("Alone, %d ms round trip:\n\n| Action | Time | Round trips |\n|---|---|---|\n",
                roundTripMs);
    const std::pair<const char*, Figure> alone[] = {
        {"login (connect, password, log row, start-up statements)", loginAlone},
        {"the norm tables read after login", normsAlone},
        {"opening the results of one person", openAlone},
        {"saving a new occasion", saveAlone},
        {"`rivo-admin report --id N --json`, whole command", reportAlone},
    };
    for (const auto& [action, figure] : alone) {
        std::printf("| %s | %.3f s | %ld |\n", action, figure.seconds, figure.roundTrips);
    }
    std::printf("\nWorkstations at once, %d ms round trip, %.0f s each:\n\n"
                "| Workstations | Opening results: median / 95th | Saving: median / 95th | "
                "Actions | Round trips per action | Failures |\n|---|---|---|---|---|---|\n",
                roundTripMs, seconds);
    std::fflush(stdout);
    int failures = 0;
    for (const int workstations : workstationCounts) {
        LoadFigures figures = runLoad(self, proxy, home, workstations, seconds, persons);
        const std::size_t actions = figures.opens.size() + figures.saves.size();
        std::printf("| %d | %.3f / %.3f s | %.3f / %.3f s | %zu | %.1f | %d |\n", workstations,
                    percentile(figures.opens, 0.5), percentile(figures.opens, 0.95),
                    percentile(figures.saves, 0.5), percentile(figures.saves, 0.95), actions,
                    actions == 0
                        ? 0.0
                        : static_cast<double>(figures.roundTrips) / static_cast<double>(actions),
                    figures.failures);
        std::fflush(stdout);
        failures += figures.failures;
    }

    DoConnectString((direct + "ConnSettings=SET search_path TO rivo_bench;").c_str());
    AccessLogCheck check;
    const bool verified = DoVerifyAccessLog(check) == DB_DONE && check.sound;
    std::printf("\nAccess log: %d rows, %s. Failed actions or workstations: %d.\n", check.soundRows,
                verified ? "one unbroken chain" : check.problem.c_str(), failures);
    return verified && failures == 0 ? 0 : 1;
}
