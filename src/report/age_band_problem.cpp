// SPDX-License-Identifier: Apache-2.0
#include "age_band_index.h"
#include "message_box.h"
#include "report_pages.h"
#include "test_occasion.h"

#include <string>

namespace {

// The subgroup the message was last shown for, while it stays chosen; empty otherwise.
std::string& reportedBand() {
    static std::string band;
    return band;
}

} // namespace

int reportAgeBandProblem() {
    const char* band = testOccasion().ageBand;
    if (ageBandIndex(band) >= 0) {
        reportedBand().clear();
        return 1;
    }
    showMessage(kAgeBandErrorText);
    reportedBand() = band;
    return 0;
}

int reportAgeBandProblemOnce() {
    const char* band = testOccasion().ageBand;
    if (ageBandIndex(band) < 0 && reportedBand() == band) {
        return 0;
    }
    return reportAgeBandProblem();
}

void forgetAgeBandProblem() {
    reportedBand().clear();
}
