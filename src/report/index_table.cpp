// SPDX-License-Identifier: Apache-2.0
#include "index_table.h"

#include "index_scores.h"
#include "subtest_table.h"
#include "text_table.h"

#include <cstring>
#include <string>

namespace {

constexpr unsigned short kIndexNameIds[kIndexCount] = {221, 222, 223, 224, 225, 226};
constexpr unsigned short kIntervalHeaderIds[2] = {238, 239};
constexpr unsigned short kUppTextId = 166;

bool equalsAny(const char* text, std::initializer_list<const char*> bands) {
    for (const char* band : bands) {
        if (std::strcmp(text, band) == 0) {
            return true;
        }
    }
    return false;
}

void writeRow(IndexTableRow& row, IndexKey key, const IndexResult& result, int ciLevel) {
    row.key = key;
    writeText(row.name, text(kIndexNameIds[key]).c_str());
    row.sumMark[0] = '\0';
    if (result.valid != 1) {
        for (RowText* cell : {&row.sum, &row.IK, &row.PERC, &row.interval}) {
            writeText(*cell, "-");
        }
        return;
    }
    if (hasIndexSum(result)) {
        writeInt(row.sum, result.sum);
    } else {
        writeText(row.sum, "-");
    }
    if (result.prorated == 1) {
        writeText(row.sumMark, text(kUppTextId).c_str());
    }
    // Norms that could not be read give no score: the cells show a missing value.
    if (!hasIndexScore(result)) {
        for (RowText* cell : {&row.IK, &row.PERC, &row.interval}) {
            writeText(*cell, "-");
        }
        return;
    }
    writeInt(row.IK, result.IK);
    writePercentile(row.PERC, result.PERC);
    const int low = ciLevel == 0 ? result.KONF_LOW90 : result.KONF_LOW95;
    const int high = ciLevel == 0 ? result.KONF_HIGH90 : result.KONF_HIGH95;
    writeText(row.interval, (std::to_string(low) + " - " + std::to_string(high)).c_str());
}

class NoteList {
  public:
    explicit NoteList(IndexTable& table) : table_(table) { table_.noteCount = 0; }
    void add(int id) {
        if (table_.noteCount < kMaxIndexTableNotes) {
            table_.notes[table_.noteCount++] = id;
        }
    }

  private:
    IndexTable& table_;
};

// The notes of one index that was refused: too many zero raw scores, or too few subtests.
void refusalNote(NoteList& notes, const IndexResult& result, int zerosNote, int tooFewNote) {
    if (result.valid != 0) {
        return;
    }
    if (result.zeroCount >= 2) {
        notes.add(zerosNote);
    } else if (result.prorated == 0) {
        notes.add(tooFewNote);
    }
}

bool substitutedAndValid(const IndexResult& result) {
    return result.valid == 1 && result.substituted == 1;
}

void indexNotes(NoteList& notes, const TestOccasion& occasion) {
    const IndexResult* index = occasion.indexes;
    const std::int32_t* scaled = occasion.ScaledScores;

    refusalNote(notes, index[VFI], 600, 601);
    if (substitutedAndValid(index[VFI]) && scaled[SUB_FORSTAELSE] > 0) {
        notes.add(602);
    }
    if (index[VFI].valid == 1 && index[VFI].prorated == 1) {
        notes.add(604);
    }

    refusalNote(notes, index[PFI], 605, 606);
    // The note names the substitute that the scoring used, which depends on the test age, not
    // the one that happens to have a scaled score under the chosen subgroup.
    if (substitutedAndValid(index[PFI])) {
        notes.add(pfiSubstitute(occasion) == RAW_FIGURVIKTER ? 607 : 603);
    }
    if (index[PFI].valid == 1 && index[PFI].prorated == 1) {
        notes.add(608);
    }

    refusalNote(notes, index[AI], 609, 610);
    if (substitutedAndValid(index[AI]) && scaled[SUB_BSS] > 0) {
        notes.add(611);
    }

    refusalNote(notes, index[SI], 612, 613);
    if (substitutedAndValid(index[SI]) && scaled[SUB_OVERSTRYKNING] > 0) {
        notes.add(614);
    }
}

void fullScaleNotes(NoteList& notes, const IndexResult* index) {
    const IndexResult& full = index[HIK];
    const IndexResult& general = index[GAI];
    if (full.valid == 0) {
        const bool anyIndexInvalid = index[VFI].valid == 0 || index[PFI].valid == 0 ||
                                     index[AI].valid == 0 || index[SI].valid == 0;
        if (full.count + full.substitutionCount < 8 &&
            (index[VFI].valid == 1 || index[PFI].valid == 1)) {
            notes.add(622);
        } else if ((full.substitutionCount <= 2 && general.valid == 0) || anyIndexInvalid) {
            notes.add(615);
        } else if (full.substitutionCount > 2) {
            notes.add(616);
        }
    }
    if (full.valid == 1 && full.prorated == 1 && (full.count == 8 || full.count == 9)) {
        notes.add(623);
    }
    const bool tooManyEstimates =
        (full.valid == 1 && full.prorated == 1 &&
         (full.substitutionCount == 2 ||
          (full.substitutionCount == 1 && full.prorationCount == 1))) ||
        (full.valid == 0 &&
         ((full.substitutionCount == 2 && (full.prorationCount > 0 || full.prorated == 1)) ||
          (full.substitutionCount == 1 &&
           (full.prorationCount > 1 || (full.prorationCount == 1 && full.prorated == 1)))));
    if (tooManyEstimates) {
        notes.add(621);
    }
}

} // namespace

IndexTable indexTable(const TestOccasion& occasion, int ciLevel) {
    IndexTable table{};
    writeText(table.intervalHeader, text(kIntervalHeaderIds[ciLevel == 0 ? 0 : 1]).c_str());
    for (int key = VFI; key <= GAI; ++key) {
        writeRow(table.rows[key], static_cast<IndexKey>(key), occasion.indexes[key], ciLevel);
    }
    NoteList notes(table);
    notes.add(599);
    indexNotes(notes, occasion);
    fullScaleNotes(notes, occasion.indexes);
    table.showsNote632 = showsNote632(occasion.normDescription);
    table.showsNote633 = showsNote633(occasion.normDescription);
    return table;
}

int showsNote632(const char* normDescription) {
    return equalsAny(normDescription, {"75-79 år", "80-84 år", "85-90 år"}) ? 1 : 0;
}

int showsNote633(const char* normDescription) {
    return equalsAny(normDescription, {"70-74 år", "75-79 år", "80-84 år", "85-90 år"}) ? 1 : 0;
}

void writePercentile(RowText& field, float percentile) {
    if (percentile == 0.0f) {
        writeText(field, "< 0.1");
    } else if (percentile == 100.0f) {
        writeText(field, "> 99.9");
    } else {
        writeFixed(field, percentile, 1);
    }
}
