#include "results_opening.h"

#include "age_band.h"
#include "report_pages.h"
#include "scaled_scores.h"

#include <utility>

namespace {

std::function<void()>& printReportHandler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

void resetResultsView() {
    resultsView() = ResultsView{};
}

void scoreOpenedOccasion(TestOccasion& occasion, const std::function<void(const char*)>& onSubgroup,
                         NormSource& norms) {
    selectAgeBand(occasion);
    if (onSubgroup) {
        DoListDelgrupp(occasion.NORMGRUPP, onSubgroup);
    }
    computeScaledScores(occasion, norms);
}

void printReport() {
    // A copy, so that a print job that installs another handler does not destroy itself.
    const std::function<void()> handler = printReportHandler();
    if (handler) {
        handler();
    }
}

std::function<void()> setPrintReportHandler(std::function<void()> handler) {
    return std::exchange(printReportHandler(), std::move(handler));
}
