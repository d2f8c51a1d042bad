// SPDX-License-Identifier: Apache-2.0
// The earlier-tests screen on a register of 10 000 persons (RIVO_BENCH_PERSONS to choose another
// number): the list built, filled and painted; the list re-sorted by name (a header click, Swedish
// collation); and a backup of the database.

#include "bench_database.h"
#include "database_backup.h"
#include "main_window.h"
#include "program.h"
#include "screen_ids.h"
#include "statement.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

const int kPersons = [] {
    const char* persons = std::getenv("RIVO_BENCH_PERSONS");
    return persons != nullptr && std::atoi(persons) > 0 ? std::atoi(persons) : 10000;
}();

// Names that begin with every kind of letter, so the collation has real work to do.
void varyNames() {
    Statement statement;
    statement.executeDirect("UPDATE TESTPERSON SET NAMN = CASE ID % 6 WHEN 0 THEN 'Åsa ' "
                            "WHEN 1 THEN 'ärla ' WHEN 2 THEN 'Örjan ' WHEN 3 THEN 'zara ' "
                            "WHEN 4 THEN 'Anna ' ELSE 'Per ' END || (ID * 7919 % 10007)");
    statement.commit();
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
    QTreeWidget* list() { return window_.findChild<QTreeWidget*>("personList_1000"); }

  private:
    MainWindow window_;
};

void BM_EarlierTestsScreenShown(benchmark::State& state) {
    BenchDatabase database(kPersons);
    varyNames();
    ScreenWindow screen;
    for (auto _ : state) {
        screen.window().showScreen(SCREEN_START);
        screen.window().showScreen(SCREEN_EARLIER_TESTS);
        benchmark::DoNotOptimize(screen.window().grab());
    }
    state.counters["rows"] = screen.list()->topLevelItemCount();
}
BENCHMARK(BM_EarlierTestsScreenShown)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PersonListResortedByName(benchmark::State& state) {
    BenchDatabase database(kPersons);
    varyNames();
    ScreenWindow screen;
    screen.window().showScreen(SCREEN_EARLIER_TESTS);
    for (auto _ : state) {
        emit screen.list()->header()->sectionClicked(0);
        benchmark::DoNotOptimize(screen.window().grab());
    }
    state.counters["rows"] = screen.list()->topLevelItemCount();
}
BENCHMARK(BM_PersonListResortedByName)->Unit(benchmark::kMillisecond)->Iterations(5);

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
