// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "analysis_text.h"
#include "test_occasion.h"

// The index and IQ table of the norm comparison ("Normjämförelse") as display text, shared by
// the page painter and the machine-readable report so that both show exactly the same cells
// and notes.
//
//   IndexTable indexTable(const TestOccasion& occasion, int ciLevel);
//     ciLevel: 0 = 90 % confidence interval, otherwise 95 % (ResultsView::ciLevel).
//   IndexTable::intervalHeader          "90% konfidensintervall" or "95% konfidensintervall"
//   IndexTable::rows[kIndexCount]       VFI, PFI, AI, SI, HIK, GAI, in IndexKey order; the page
//                                       draws an empty line between SI and HIK
//   IndexTableRow::key                  the IndexKey of the row
//   IndexTableRow::name                 "Verbal funktion" ... "General Ability Index - GAI"
//   IndexTableRow::sum, IK, PERC,       "%d", "%d", percentile ("< 0.1", "> 99.9", "%0.1f"),
//                  interval             "%d - %d" of the chosen level; each "-" when the index
//                                       is not valid
//   IndexTableRow::sumMark              " UPP" when the valid sum was prorated, else ""
//   IndexTable::notes[0 .. noteCount)   text ids of the notes under the table in print order,
//                                       599 first
//   IndexTable::showsNote632            1 when note 632 stands under the norm group line
//   IndexTable::showsNote633            1 when note 633 stands under the subtest table and the
//                                       scaled-score profile
//
//   int showsNote632(const char* normDescription);   "75-79 år" and older
//   int showsNote633(const char* normDescription);   "70-74 år" and older
//   void writePercentile(RowText& field, float percentile);

struct IndexTableRow {
    IndexKey key;
    RowText name;
    RowText sum;
    RowText sumMark;
    RowText IK;
    RowText PERC;
    RowText interval;
};

inline constexpr int kMaxIndexTableNotes = 12;

struct IndexTable {
    RowText intervalHeader;
    IndexTableRow rows[kIndexCount];
    int notes[kMaxIndexTableNotes];
    int noteCount;
    int showsNote632;
    int showsNote633;
};

IndexTable indexTable(const TestOccasion& occasion, int ciLevel);

// The American subtest norms of the oldest bands: note 632.
int showsNote632(const char* normDescription);
// The bands without norms for Figurvikter, Bokstavs-siffer-serier and Överstrykning: note 633.
int showsNote633(const char* normDescription);

// "< 0.1" for exactly 0, "> 99.9" for exactly 100, else one decimal.
void writePercentile(RowText& field, float percentile);
