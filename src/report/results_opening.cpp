#include "results_opening.h"

#include "age_band.h"
#include "report_pages.h"
#include "scaled_scores.h"

void resetResultsView() {
    resultsView() = ResultsView{};
}

void scoreOpenedOccasion(TestOccasion& occasion, const std::function<void(const char*)>& onSubgroup,
                         NormSource& norms) {
    forgetAgeBandProblem();
    selectAgeBand(occasion);
    if (onSubgroup) {
        DoListDelgrupp(occasion.NORMGRUPP, onSubgroup);
    }
    computeScaledScores(occasion, norms);
}
