// SPDX-License-Identifier: Apache-2.0
// The printed report on the offscreen platform: the five sheets written into a PDF file, once by
// the headless writer and once by the print job behind "&Skriv ut" (print dialog answered).

#include "bench_database.h"
#include "db.h"
#include "print_dialog.h"
#include "print_report_job.h"
#include "report_pdf.h"
#include "results_opening.h"
#include "test_occasion.h"

#include <QApplication>
#include <QPrinter>
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

// The first stored person of a benchmark database, scored, in the test occasion.
class ScoredPerson {
  public:
    ScoredPerson() : database_(1) {
        resetTestOccasion();
        std::strcpy(testOccasion().NORMGRUPP, "Standardgrupp");
        DoReadPD(1, testOccasion().person);
        DoReadTD(testOccasion());
        scoreOpenedOccasion(testOccasion());
    }
    std::string file(const char* name) const { return (database_.directory() / name).string(); }

  private:
    BenchDatabase database_;
};

void BM_ReportPdf(benchmark::State& state) {
    const ScoredPerson person;
    const std::string path = person.file("report.pdf");
    std::string error;
    for (auto _ : state) {
        if (!writeReportPdf(path, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PrintJobIntoPdf(benchmark::State& state) {
    const ScoredPerson person;
    const QString path = QString::fromStdString(person.file("printed.pdf"));
    const PrintDialogHandler previous = setPrintDialogHandler([&path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    });
    for (auto _ : state) {
        printReportJob();
    }
    setPrintDialogHandler(previous);
}
BENCHMARK(BM_PrintJobIntoPdf)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
