// SPDX-License-Identifier: Apache-2.0
#include "export_line.h"

#include "subtest_table.h"
#include "test_age.h"

#include <cstdio>

namespace {

constexpr const char* kPersonKeys[] = {"NAMN",  "ADRESS",   "TFN",      "NATION",  "HEMSPRAK",
                                       "UTB",   "TEST_VID", "TESTLED",  "TESTDAT", "FODELSED",
                                       "ALDER", "KON_1M2K", "HAN_1V2H", "OVRIGT"};
constexpr const char* kRawKeys[] = {"Bl",  "BUT", "Li", "SF", "SFO", "SB", "SBO", "SS",
                                    "SSO", "Ma",  "Or", "Ar", "Sy",  "Vp", "In",  "Ko",
                                    "Bs",  "BO",  "Fv", "Fo", "Os",  "Bk"};
constexpr const char* kIndexSumKeys[] = {"SS_HIK", "SS_GAI", "SS_VFI", "SS_PFI", "SS_AI", "SS_SI"};
constexpr const char* kIndexScoreKeys[] = {"I_HIK", "I_GAI", "I_VFI", "I_PFI", "I_AI", "I_SI"};
// The index columns run in this order.
constexpr int kIndexColumnOrder[] = {HIK, GAI, VFI, PFI, AI, SI};

void cell(std::string& line, const std::string& value) {
    line += value;
    line += '\t';
}

void cell(std::string& line, int value) {
    cell(line, std::to_string(value));
}

// A text as stored; a tab or line break inside it would split the line, so those become blanks.
void textCell(std::string& line, const char* text) {
    std::string value(text);
    for (char& c : value) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    cell(line, value);
}

void dateCell(std::string& line, const DateValue& date) {
    // A date stored as NULL or unreadable is read as {0, 0, 0}: an empty cell, not "0   -00-00".
    if (date == DateValue{0, 0, 0}) {
        cell(line, "");
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%-4d-%02d-%02d", date.year, date.month, date.day);
    cell(line, text);
}

bool scoresChosen(const ExportSelection& selection) {
    return selection.groups[EXPORT_SCALED] || selection.groups[EXPORT_INDEX];
}

} // namespace

std::string exportHeaderLine(const ExportSelection& selection) {
    std::string line;
    cell(line, "NID");
    if (selection.groups[EXPORT_PERSON]) {
        for (const char* key : kPersonKeys) {
            cell(line, key);
        }
    }
    if (selection.groups[EXPORT_RAW]) {
        for (const char* key : kRawKeys) {
            cell(line, key);
        }
    }
    if (scoresChosen(selection)) {
        cell(line, "NORMGRP");
    }
    if (selection.groups[EXPORT_SCALED]) {
        for (int subscale = 0; subscale < kSubscaleCount; ++subscale) {
            cell(line, kSubtests[kSubscaleRawScore[subscale]].exportKey);
        }
    }
    if (selection.groups[EXPORT_INDEX]) {
        for (const char* key : kIndexSumKeys) {
            cell(line, key);
        }
        for (const char* key : kIndexScoreKeys) {
            cell(line, key);
        }
    }
    return line;
}

std::string exportPersonLine(const TestOccasion& occasion, const ExportSelection& selection) {
    return exportPersonLine(occasion, selection, ExportBlanks{});
}

std::string exportPersonLine(const TestOccasion& occasion, const ExportSelection& selection,
                             const ExportBlanks& blanks) {
    const PersonRecord& person = occasion.person;
    std::string line;
    const auto number = [&](bool blank, int value) { blank ? cell(line, "") : cell(line, value); };
    number(blanks.id, person.ID);
    if (selection.groups[EXPORT_PERSON]) {
        for (const char* text :
             {person.NAMN, person.ADRESS, person.TELEFON, person.NATIONALITET, person.HOMELANGUAGE,
              person.UTBILDNING, person.TESTAD_VID, person.TESTLEDARE}) {
            textCell(line, text);
        }
        dateCell(line, person.TESTDATE);
        dateCell(line, person.BORNDATE);
        if (blanks.derived) {
            cell(line, "");
        } else {
            const TestAge age = computeTestAge(person);
            char ageText[48];
            std::snprintf(ageText, sizeof ageText, "%d.%d.%d", age.years, age.months, age.days);
            cell(line, ageText);
        }
        number(blanks.sex, person.SEX);
        number(blanks.handedness, person.HANDEDNESS);
        textCell(line, person.OTHER);
    }
    if (selection.groups[EXPORT_RAW]) {
        // The entered raw scores; the Sifferrepetition total is computed, not entered.
        for (int raw = 0; raw < kRawScoreCount; ++raw) {
            if (raw != RAW_SIFFERREPETITION) {
                number(blanks.raw[raw], occasion.RawScores[raw]);
            }
        }
    }
    if (blanks.derived) {
        // Nothing was scored for this person: one empty cell for NORMGRP and for each score.
        const int empty = (scoresChosen(selection) ? 1 : 0) +
                          (selection.groups[EXPORT_SCALED] ? kSubscaleCount : 0) +
                          (selection.groups[EXPORT_INDEX] ? 2 * kIndexCount : 0);
        line.append(static_cast<std::size_t>(empty), '\t');
        return line;
    }
    if (scoresChosen(selection)) {
        textCell(line, occasion.ageBand);
    }
    if (selection.groups[EXPORT_SCALED]) {
        for (int subscale = 0; subscale < kSubscaleCount; ++subscale) {
            const bool notGiven =
                occasion.RawScores[kSubscaleRawScore[subscale]] == NOT_ADMINISTERED;
            if (notGiven && subscale != SUB_SIFFERREPETITION) {
                cell(line, "");
            } else {
                cell(line, occasion.ScaledScores[subscale]);
            }
        }
    }
    if (selection.groups[EXPORT_INDEX]) {
        for (const int key : kIndexColumnOrder) {
            const IndexResult& index = occasion.indexes[key];
            cell(line, hasIndexSum(index) ? std::to_string(index.sum) : std::string());
        }
        for (const int key : kIndexColumnOrder) {
            const IndexResult& index = occasion.indexes[key];
            cell(line, hasIndexScore(index) ? std::to_string(index.IK) : std::string());
        }
    }
    return line;
}
