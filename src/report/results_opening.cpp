// SPDX-License-Identifier: Apache-2.0
#include "results_opening.h"

#include "age_band.h"
#include "message_box.h"
#include "report_pages.h"
#include "scaled_scores.h"
#include "stored_values.h"

void resetResultsView() {
    resultsView() = ResultsView{};
}

void scoreOpenedOccasion(TestOccasion& occasion, const std::function<void(const char*)>& onSubgroup,
                         NormSource& norms) {
    forgetAgeBandProblem();
    if (const std::string problem = storedValueMessage(occasion); !problem.empty()) {
        showMessage(problem);
    }
    selectAgeBand(occasion);
    if (onSubgroup) {
        DoListDelgrupp(occasion.NORMGRUPP, onSubgroup);
    }
    computeScaledScores(occasion, norms);
}
