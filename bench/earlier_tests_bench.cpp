// SPDX-License-Identifier: Apache-2.0
// The earlier-tests screen on a register of 10 000 persons (RIVO_BENCH_PERSONS to choose another
// number): the list built, filled and painted; the list re-sorted by name (a header click, Swedish
// collation) and by test date; the list scrolled to its last row (End); and a backup of the
// database. Each screen benchmark reports peak_MB: the process's peak resident memory (VmHWM)
// from the moment the register was made, so the memory of filling it is not counted. With
// RIVO_BENCH_ODBC naming a server and RIVO_BENCH_ROUND_TRIP_MS set, the register is made directly
// and the screen then reads it through a proxy that delays each round trip by that much.

#include "bench_database.h"
#include "data_source.h"
#include "database_backup.h"
#include "db.h"
#include "delaying_proxy.h"
#include "main_window.h"
#include "program.h"
#include "screen_ids.h"
#include "statement.h"
#include "transaction.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

const int kPersons = [] {
    const char* persons = std::getenv("RIVO_BENCH_PERSONS");
    return persons != nullptr && std::atoi(persons) > 0 ? std::atoi(persons) : 10000;
}();

// The list's columns of that many persons, stored with one prepared statement in one transaction:
// the register is made in seconds on a server too, where each person saved as the program saves
// it (the ID counter claimed and moved inside one long transaction) slows down with every row.
void addListPersons(int persons) {
    Transaction transaction;
    Statement insert;
    std::int32_t id = 0;
    std::int32_t sex = 0;
    char name[kText50] = {};
    DateValue tested{2010, 6, 1};
    DateValue born{};
    const bool prepared =
        insert.prepare("INSERT INTO TESTPERSON (ID, NAMN, TESTLEDARE, SEX, TESTDATE, BORNDATE) "
                       "VALUES (?, ?, 'Märta Öst', ?, ?, ?)") &&
        insert.bindInt(1, &id) && insert.bindText(2, name) && insert.bindInt(3, &sex) &&
        insert.bindDate(4, &tested) && insert.bindDate(5, &born);
    for (int i = 0; prepared && i < persons; ++i) {
        id = i + 1;
        sex = 1 + i % 2;
        std::snprintf(name, sizeof name, "Testperson %05d Åberg", i);
        born = DateValue{static_cast<std::int16_t>(1920 + i % 75), 3, 15};
        if (!insert.execute()) {
            throw std::runtime_error("could not store a person");
        }
    }
    if (!prepared || !transaction.commit()) {
        throw std::runtime_error("could not store the persons");
    }
}

// Names that begin with every kind of letter, so the collation has real work to do.
void varyNames() {
    Statement statement;
    statement.executeDirect("UPDATE TESTPERSON SET NAMN = CASE ID % 6 WHEN 0 THEN 'Åsa ' "
                            "WHEN 1 THEN 'ärla ' WHEN 2 THEN 'Örjan ' WHEN 3 THEN 'zara ' "
                            "WHEN 4 THEN 'Anna ' ELSE 'Per ' END || (ID * 7919 % 10007)");
    statement.commit();
}

// Starts the process's peak resident memory afresh from its present size (Linux: writing 5 to
// clear_refs).
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

// The value of the key in a connection string, up to its ';'.
std::string connectionValue(const std::string& connection, const std::string& key) {
    const std::size_t at = connection.find(key + "=");
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = at + key.size() + 1;
    return connection.substr(start, connection.find(';', start) - start);
}

// Reconnects to the bench's register on the server through a delaying proxy when asked to; the
// proxy lives as long as the benchmark's register.
std::unique_ptr<DelayingProxy> connectFarWhenAsked() {
    const char* server = std::getenv("RIVO_BENCH_ODBC");
    const char* roundTrip = std::getenv("RIVO_BENCH_ROUND_TRIP_MS");
    if (server == nullptr || server[0] == '\0' || roundTrip == nullptr) {
        return nullptr;
    }
    auto proxy = std::make_unique<DelayingProxy>(
        connectionValue(server, "Servername") + "/.s.PGSQL.5432", std::atoi(roundTrip));
    DoDisconnect();
    const std::string via =
        "DRIVER=PostgreSQL ANSI;Servername=127.0.0.1;Port=" + std::to_string(proxy->port()) +
        ";Database=" + connectionValue(server, "Database") +
        ";Username=" + connectionValue(server, "Username") +
        ";pqopt={options=-csearch_path=rivo_bench};";
    if (DoConnectString(serverConnectionString(via).c_str()) != 1) {
        throw std::runtime_error("could not connect through the proxy");
    }
    return proxy;
}

void pressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class ScreenWindow {
  public:
    ScreenWindow() {
        window_.createSharedFonts();
        window_.createSharedButtons();
        registerScreens(window_);
        window_.show();
    }
    MainWindow& window() { return window_; }
    QTreeView* list() { return window_.findChild<QTreeView*>("personList_1000"); }

  private:
    MainWindow window_;
};

// The register of kPersons with varied names, reached through the proxy when asked, and the
// window over it, made last, so that the peak memory counts from the window on.
class ListScreen {
  public:
    ListScreen() : database_(0) {
        addListPersons(kPersons);
        varyNames();
        proxy_ = connectFarWhenAsked();
        resetPeakMemory();
        screen_ = std::make_unique<ScreenWindow>();
    }
    MainWindow& window() { return screen_->window(); }
    QTreeView* list() { return screen_->list(); }

  private:
    BenchDatabase database_;
    std::unique_ptr<DelayingProxy> proxy_;
    std::unique_ptr<ScreenWindow> screen_;
};

void BM_EarlierTestsScreenShown(benchmark::State& state) {
    ListScreen screen;
    for (auto _ : state) {
        screen.window().showScreen(SCREEN_START);
        screen.window().showScreen(SCREEN_EARLIER_TESTS);
        benchmark::DoNotOptimize(screen.window().grab());
    }
    state.counters["rows"] = screen.list()->model()->rowCount();
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_EarlierTestsScreenShown)->Unit(benchmark::kMillisecond)->Iterations(5);

// A header click on the column: name (0, Swedish collation) or test date (2, by the database).
void BM_PersonListResorted(benchmark::State& state) {
    ListScreen screen;
    screen.window().showScreen(SCREEN_EARLIER_TESTS);
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        emit screen.list()->header()->sectionClicked(column);
        benchmark::DoNotOptimize(screen.window().grab());
    }
    state.counters["rows"] = screen.list()->model()->rowCount();
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_PersonListResorted)
    ->ArgName("column")
    ->Arg(0)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// End on the list, from its first row: the last rows are read and painted.
void BM_PersonListScrolledToTheEnd(benchmark::State& state) {
    ListScreen screen;
    screen.window().showScreen(SCREEN_EARLIER_TESTS);
    QTreeView* list = screen.list();
    for (auto _ : state) {
        state.PauseTiming();
        pressKey(list, Qt::Key_Home);
        benchmark::DoNotOptimize(screen.window().grab());
        state.ResumeTiming();
        pressKey(list, Qt::Key_End);
        benchmark::DoNotOptimize(screen.window().grab());
    }
    if (list->currentIndex().row() != list->model()->rowCount() - 1) {
        state.SkipWithError("End did not reach the last row");
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_PersonListScrolledToTheEnd)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DatabaseBackup(benchmark::State& state) {
    BenchDatabase database(kPersons);
    const std::string target = (database.directory() / "DODODA_backup.db").string();
    for (auto _ : state) {
        std::string message;
        if (!writeDatabaseBackup(target, message)) {
            state.SkipWithError(message.c_str());
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(database.path()));
}
BENCHMARK(BM_DatabaseBackup)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
