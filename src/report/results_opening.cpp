// SPDX-License-Identifier: Apache-2.0
#include "results_opening.h"

#include "age_band.h"
#include "broken_norm_rules.h"
#include "message_box.h"
#include "report_pages.h"
#include "scaled_scores.h"
#include "stored_values.h"

#include <cstring>

void resetResultsView() {
    resultsView() = ResultsView{};
}

void prepareForPrintJob(TestOccasion& occasion) {
    NormSource& norms = currentNorms();
    reportBrokenNormRules(norms);
    if (!normsReloaded() || occasion.ageBand[0] == '\0') {
        return;
    }
    char band[sizeof occasion.ageBand];
    std::memcpy(band, occasion.ageBand, sizeof band);
    chooseAgeBand(occasion, band, norms);
}

void scoreOpenedOccasion(TestOccasion& occasion, const std::function<void(const char*)>& onSubgroup,
                         NormSource& norms) {
    forgetAgeBandProblem();
    reportBrokenNormRules(norms);
    if (const std::string problem = storedValueMessage(occasion); !problem.empty()) {
        showMessage(problem);
    }
    selectAgeBand(occasion, norms);
    if (onSubgroup) {
        norms.listSubgroups(occasion.NORMGRUPP, onSubgroup);
    }
    computeScaledScores(occasion, norms);
}
