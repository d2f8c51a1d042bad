// SPDX-License-Identifier: Apache-2.0
#include "occasion_changes.h"

#include <cstring>

namespace {

bool sameDate(const DateValue& a, const DateValue& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

void note(std::string& fields, bool differs, const char* column) {
    if (differs) {
        fields.append(fields.empty() ? "" : ", ").append(column);
    }
}

} // namespace

std::string changedPersonFields(const PersonRecord& stored, const PersonRecord& updated) {
    std::string fields;
    const auto text = [&](const char* a, const char* b, const char* column) {
        note(fields, std::strcmp(a, b) != 0, column);
    };
    text(stored.NAMN, updated.NAMN, "NAMN");
    text(stored.ADRESS, updated.ADRESS, "ADRESS");
    text(stored.TELEFON, updated.TELEFON, "TELEFON");
    text(stored.NATIONALITET, updated.NATIONALITET, "NATIONALITET");
    text(stored.HOMELANGUAGE, updated.HOMELANGUAGE, "HOMELANGUAGE");
    text(stored.UTBILDNING, updated.UTBILDNING, "UTBILDNING");
    text(stored.TESTAD_VID, updated.TESTAD_VID, "TESTAD_VID");
    text(stored.TESTLEDARE, updated.TESTLEDARE, "TESTLEDARE");
    note(fields, stored.SEX != updated.SEX, "SEX");
    note(fields, stored.AGE != updated.AGE, "AGE");
    note(fields, !sameDate(stored.TESTDATE, updated.TESTDATE), "TESTDATE");
    note(fields, !sameDate(stored.BORNDATE, updated.BORNDATE), "BORNDATE");
    note(fields, stored.HANDEDNESS != updated.HANDEDNESS, "HANDEDNESS");
    note(fields, stored.NI_TEST != updated.NI_TEST, "NI_TEST");
    text(stored.OTHER, updated.OTHER, "OTHER");
    return fields;
}

int changedRawScores(const TestOccasion& stored, const TestOccasion& updated) {
    int changed = 0;
    for (int i = 0; i < kRawScoreCount; ++i) {
        changed += stored.RawScores[i] != updated.RawScores[i] ? 1 : 0;
    }
    return changed;
}
