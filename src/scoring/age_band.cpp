#include "age_band.h"

#include "scaled_scores.h"
#include "test_age.h"

#include <cstdio>

namespace {

// Highest whole years of each band but the last.
constexpr int kBandUpperYears[kAgeBandCount - 1] = {17, 19, 24, 29, 34, 44, 54, 64, 69, 74, 79, 84};

void setAgeBand(TestOccasion& occasion, const char* band) {
    std::snprintf(occasion.ageBand, sizeof occasion.ageBand, "%s", band);
}

} // namespace

const char* ageBandFor(int years) {
    for (int band = 0; band < kAgeBandCount - 1; ++band) {
        if (years <= kBandUpperYears[band]) {
            return kAgeBands[band];
        }
    }
    return kAgeBands[kAgeBandCount - 1];
}

DbResult selectAgeBand(TestOccasion& occasion) {
    setAgeBand(occasion, ageBandFor(computeTestAge(occasion.person).years));
    return DoReadNormDescription(occasion);
}

void chooseAgeBand(TestOccasion& occasion, const char* subgroup, NormSource& norms) {
    setAgeBand(occasion, subgroup);
    DoReadNormDescription(occasion);
    computeScaledScores(occasion, norms);
}
