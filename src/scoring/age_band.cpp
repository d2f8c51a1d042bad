// SPDX-License-Identifier: Apache-2.0
#include "age_band.h"

#include "scaled_scores.h"
#include "test_age.h"

#include "message_box.h"

#include <cstdio>

namespace {

constexpr int kYoungestNormAge = 16;
constexpr int kOldestNormAge = 90;

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

std::string ageOutsideNormsNote(const PersonRecord& person, const char* band) {
    if (!testDatesValid(person)) {
        return {};
    }
    const int years = computeTestAge(person).years;
    if (years >= kYoungestNormAge && years <= kOldestNormAge) {
        return {};
    }
    const std::string compared = band != nullptr && band[0] != '\0' ? band : ageBandFor(years);
    return "Teståldern " + std::to_string(years) + " år ligger utanför normernas " +
           std::to_string(kYoungestNormAge) + "-" + std::to_string(kOldestNormAge) +
           " år; jämförd med " + compared;
}

std::string invalidTestDatesMessage(const PersonRecord& person) {
    return "Testpersonen " + std::string(person.NAMN) + " (ID " + std::to_string(person.ID) +
           ") saknar giltigt testdatum eller födelsedatum, så teståldern kan "
           "inte beräknas och inga poäng räknas fram mot normerna. Rätta "
           "datumen i personuppgifterna.";
}

namespace {

// Without a test age there is no band to score against: nothing is scored.
bool refuseWithoutTestAge(TestOccasion& occasion) {
    if (testDatesValid(occasion.person)) {
        return false;
    }
    occasion.ageBand[0] = '\0';
    occasion.normDescription[0] = '\0';
    showMessage(invalidTestDatesMessage(occasion.person));
    return true;
}

} // namespace

DbResult selectAgeBand(TestOccasion& occasion, NormSource& norms) {
    if (refuseWithoutTestAge(occasion)) {
        return DB_NO_ROW;
    }
    setAgeBand(occasion, ageBandFor(computeTestAge(occasion.person).years));
    return norms.readNormDescription(occasion);
}

void chooseAgeBand(TestOccasion& occasion, const char* subgroup, NormSource& norms) {
    if (refuseWithoutTestAge(occasion)) {
        computeScaledScores(occasion, norms);
        return;
    }
    setAgeBand(occasion, subgroup);
    norms.readNormDescription(occasion);
    computeScaledScores(occasion, norms);
}
