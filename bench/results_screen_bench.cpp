// SPDX-License-Identifier: Apache-2.0
// The results screen on the offscreen platform: opening it (age band, scaled scores, indexes,
// first full paint of the report) and one full paint of the report at the window's size.

#include "bench_database.h"
#include "db.h"
#include "main_window.h"
#include "report_pages.h"
#include "results_screen.h"
#include "results_window.h"
#include "screen_size.h"
#include "shell_state.h"
#include "test_occasion.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

// A screen that shows nothing, to leave the results screen for.
class EmptyScreen : public Screen {
  public:
    void build() override {}
    void paint(Dc&) override {}
    void command(int) override {}
};

// The main window with the results screen, and the first stored person of a benchmark database
// in the test occasion.
class ResultsFixture {
  public:
    ResultsFixture() : database_(1) {
        std::strcpy(testOccasion().NORMGRUPP, "Standardgrupp");
        resetTestOccasion();
        DoReadPD(1, testOccasion().person);
        DoReadTD(testOccasion());
        const ScreenSize screen = screenSize();
        screenWidth() = screen.width;
        screenHeight() = screen.height;
        window_.createSharedFonts();
        window_.createSharedButtons();
        window_.setScreen(SCREEN_RESULTS, std::make_unique<ResultsScreen>(window_));
        window_.setScreen(SCREEN_EARLIER_TESTS, std::make_unique<EmptyScreen>());
        currentScreen() = SCREEN_EARLIER_TESTS;
        window_.show();
        QApplication::processEvents();
    }

    void open() { window_.showScreen(SCREEN_RESULTS); }
    void leave() { window_.showScreen(SCREEN_EARLIER_TESTS); }
    ResultsWindow* results() { return window_.findChild<ResultsWindow*>("resultsWindow"); }

  private:
    BenchDatabase database_;
    MainWindow window_;
};

void BM_OpenResultsScreen(benchmark::State& state) {
    ResultsFixture fixture;
    for (auto _ : state) {
        fixture.open();
        fixture.results()->repaint(); // the first full paint
        benchmark::DoNotOptimize(resultsView().totalLines);
        state.PauseTiming();
        fixture.leave();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenResultsScreen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// At the top (summary and graphs) and scrolled to the discrepancy analyses.
void BM_FullPaintOfTheReport(benchmark::State& state) {
    ResultsFixture fixture;
    fixture.open();
    QApplication::processEvents();
    ResultsWindow* results = fixture.results();
    results->scrollReport(ScrollRequest::ThumbPosition, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        results->repaint();
        benchmark::DoNotOptimize(resultsView().totalLines);
    }
    state.counters["firstLine"] = resultsView().firstLine;
    state.counters["windowHeight"] = results->height();
}
BENCHMARK(BM_FullPaintOfTheReport)
    ->Arg(0)
    ->Arg(190)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace
