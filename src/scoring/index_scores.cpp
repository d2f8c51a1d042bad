// SPDX-License-Identifier: Apache-2.0
#include "index_scores.h"

#include "message_box.h"
#include "proration_tables.h"
#include "subtest_table.h"
#include "test_age.h"

#include <algorithm>
#include <span>
#include <string>

namespace {

// From this test age on, Figurvikter and Bokstavs-siffer-serier are not used as substitutes.
constexpr int kSubstituteAgeLimit = 70;

class IndexComputation {
  public:
    IndexComputation(TestOccasion& occasion, NormSource& norms)
        : occasion_(occasion), norms_(norms), years_(computeTestAge(occasion.person).years) {}

    void run() {
        threeSubtestIndex(VFI, {RAW_LIKHETER, RAW_ORDFORRAD, RAW_INFORMATION});
        lookUp(VFI);
        threeSubtestIndex(PFI, {RAW_BLOCKMONSTER, RAW_MATRISER, RAW_VISUELLAPUSSEL});
        lookUp(PFI);
        twoSubtestIndex(AI, {RAW_SIFFERREPETITION, RAW_ARITMETIK}, RAW_BSS,
                        years_ < kSubstituteAgeLimit);
        lookUp(AI);
        twoSubtestIndex(SI, {RAW_SYMBOLLETNING, RAW_KODNING}, RAW_OVERSTRYKNING, true);
        lookUp(SI);
        fullScale();
        lookUp(HIK);
        generalAbility();
        lookUp(GAI);
    }

  private:
    int raw(int rawScore) const { return occasion_.RawScores[rawScore]; }
    bool given(int rawScore) const { return raw(rawScore) != NOT_ADMINISTERED; }
    int scaled(int rawScore) const {
        return raw(rawScore) >= 0 ? occasion_.ScaledScores[kSubtests[rawScore].subscale] : 0;
    }
    IndexResult& index(int key) { return occasion_.indexes[key]; }

    // A subtest that enters a sum without a scaled score of its own leaves the sum incomplete.
    void noteUnscored(IndexResult& result, int rawScore) const {
        const int subscale = kSubtests[rawScore].subscale;
        if (raw(rawScore) >= 0 && subscale >= 0 && (occasion_.unscoredSubscales >> subscale & 1u)) {
            result.sumIncomplete = 1;
        }
    }

    // Counts the given core subtests and their zero raw scores into result; returns the sum of
    // their scaled scores and how many are missing.
    int sumCore(IndexResult& result, std::span<const int> core, int& missing) const {
        int sum = 0;
        missing = 0;
        for (const int rawScore : core) {
            if (raw(rawScore) == 0) {
                ++result.zeroCount;
            }
            if (given(rawScore)) {
                ++result.count;
            } else {
                ++missing;
            }
            sum += scaled(rawScore);
            noteUnscored(result, rawScore);
        }
        return sum;
    }

    void addSubstitute(IndexResult& result, int rawScore) {
        result.sum += scaled(rawScore);
        noteUnscored(result, rawScore);
        ++result.count;
        result.substituted = 1;
        if (raw(rawScore) == 0) {
            ++result.zeroCount;
        }
    }

    // The substitute of a three-subtest index for the test person's age, or -1.
    int usableSubstitute(int key) const {
        if (key == VFI) {
            return given(RAW_FORSTAELSE) ? RAW_FORSTAELSE : -1;
        }
        return pfiSubstitute(occasion_);
    }

    void threeSubtestIndex(int key, const int (&core)[3]) {
        IndexResult& result = index(key);
        result.substituted = 0;
        result.valid = 0;
        result.prorated = 0;
        int missing = 0;
        const int sum = sumCore(result, core, missing);
        if (missing == 0) {
            result.sum = sum;
            result.valid = 1;
        } else if (missing == 1) {
            result.sum = sum;
            const int substitute = usableSubstitute(key);
            if (substitute >= 0) {
                addSubstitute(result, substitute);
            } else {
                result.unproratedSum = result.sum;
                result.sum = prorate(PRORATE_2_TO_3, result.sum);
                result.prorated = 1;
            }
            result.valid = 1;
        }
        if (result.zeroCount >= 2) {
            result.valid = 0;
        }
    }

    void twoSubtestIndex(int key, const int (&core)[2], int substitute, bool substituteAllowed) {
        IndexResult& result = index(key);
        result.prorated = 0;
        if (key == SI) {
            result.substituted = 0;
        }
        int missing = 0;
        const int sum = sumCore(result, core, missing);
        const bool usable = substituteAllowed && given(substitute);
        if (missing == 0) {
            result.sum = sum;
            result.valid = 1;
        } else {
            result.sum = sum;
            if (usable) {
                addSubstitute(result, substitute);
            }
            // One core subtest and the substitute make a valid index; the substitute alone
            // does not.
            result.valid = missing == 1 && usable ? 1 : 0;
        }
        if (result.zeroCount >= 2) {
            result.valid = 0;
        }
    }

    void fullScale() {
        IndexResult& full = index(HIK);
        const IndexResult& vfi = index(VFI);
        const IndexResult& pfi = index(PFI);
        const IndexResult& ai = index(AI);
        const IndexResult& si = index(SI);
        full.substitutionCount =
            vfi.substituted + pfi.substituted + ai.substituted + si.substituted;
        full.prorationCount = vfi.prorated + pfi.prorated;
        full.count = vfi.count + pfi.count + ai.count + si.count;
        full.sumIncomplete =
            vfi.sumIncomplete | pfi.sumIncomplete | ai.sumIncomplete | si.sumIncomplete;
        full.sum = vfi.sum + pfi.sum + ai.sum + si.sum;
        full.unproratedSum = (vfi.prorated ? vfi.unproratedSum : vfi.sum) +
                             (pfi.prorated ? pfi.unproratedSum : pfi.sum) + ai.sum + si.sum;

        const bool tooManyZeros =
            vfi.zeroCount >= 2 || pfi.zeroCount >= 2 || ai.zeroCount >= 2 || si.zeroCount >= 2;
        if (full.substitutionCount > 2 || full.count < 8 || tooManyZeros) {
            full.valid = 0;
        } else if (vfi.valid && pfi.valid && ai.valid && si.valid) {
            full.valid = 1;
        } else {
            full.valid = 0;
            estimateFullScale(full, vfi, pfi, ai, si);
        }
        limitEstimates(full);
    }

    // The full-scale sum estimated from eight or nine subtests, when one of the rules holds.
    static void estimateFullScale(IndexResult& full, const IndexResult& vfi, const IndexResult& pfi,
                                  const IndexResult& ai, const IndexResult& si) {
        const bool aiShort = !ai.valid && ai.count == 1;
        const bool siShort = !si.valid && si.count == 1;
        const bool vfiOnlyProrated = vfi.prorated && !pfi.prorated && pfi.valid;
        const bool pfiOnlyProrated = pfi.prorated && !vfi.prorated && vfi.valid;
        int estimate = -1;
        if (full.count == 8 &&
            ((aiShort && vfiOnlyProrated && si.valid) || (siShort && vfiOnlyProrated && ai.valid) ||
             (aiShort && pfiOnlyProrated && si.valid) ||
             (siShort && pfiOnlyProrated && ai.valid))) {
            // The estimate is made from the eight subtests actually given.
            estimate = prorate(PRORATE_8_TO_10, full.unproratedSum);
        } else if (aiShort && siShort) {
            estimate = prorate(PRORATE_8_TO_10, full.sum);
        } else if ((aiShort && si.valid) || (ai.valid && siShort)) {
            estimate = prorate(PRORATE_9_TO_10, full.sum);
        }
        if (estimate >= 0) {
            full.sum = estimate;
            full.valid = 1;
            full.prorated = 1;
        }
    }

    // At most two estimates, substitutions and prorations together, may enter the full scale.
    static void limitEstimates(IndexResult& full) {
        const bool fullProrated = full.prorated == 1;
        if ((full.substitutionCount == 2 && (full.prorationCount >= 1 || fullProrated)) ||
            (full.substitutionCount == 1 &&
             (full.prorationCount >= 2 || (full.prorationCount == 1 && fullProrated)))) {
            full.valid = 0;
        }
    }

    void generalAbility() {
        IndexResult& general = index(GAI);
        const IndexResult& vfi = index(VFI);
        const IndexResult& pfi = index(PFI);
        general.sum = 0;
        // computeIndexScores may also run on its own: the flags are set afresh here.
        general.substituted = 0;
        general.sumIncomplete = vfi.sumIncomplete | pfi.sumIncomplete;
        if (vfi.valid && pfi.valid) {
            general.sum = vfi.sum + pfi.sum;
            general.valid = 1;
            general.substituted = vfi.substituted || pfi.substituted ? 1 : 0;
        } else {
            general.valid = 0;
        }
    }

    // Fills IK, PERC and the confidence limits from the row of the sum clamped into the
    // table's range. Whatever keeps them from being read (no range, no row, a cell that is NULL
    // or no number, an incomplete sum) leaves them 0 with normMissing set, and says why; a
    // database error has said so itself.
    void lookUp(int key) {
        IndexResult& result = index(key);
        const std::string place =
            "INDEX_NORMER " + std::string(occasion_.NORMGRUPP) + " " + kIndexKeys[key];
        std::int32_t maximum = 0;
        std::int32_t minimum = 0;
        const DbResult range =
            norms_.readIndexRange(occasion_.NORMGRUPP, kIndexKeys[key], maximum, minimum);
        if (range != DB_DONE) {
            if (range == DB_NO_ROW) {
                noScore(result, place + " har inga rader.");
            } else if (range == DB_UNREADABLE) {
                noScore(result, place + ": SKAL är inget tal i någon rad.");
            } else {
                noScore(result, "");
            }
            return;
        }
        const std::int32_t clamped = std::clamp(result.sum, minimum, std::max(minimum, maximum));
        const std::string row = place + " SKAL " + std::to_string(clamped);
        std::uint32_t unreadable = 0;
        const DbResult read =
            norms_.readIndexRow(occasion_.NORMGRUPP, kIndexKeys[key], clamped, result, unreadable);
        if (read == DB_NO_ROW) {
            noScore(result, row + " finns inte.");
        } else if (read == DB_FAILED) {
            noScore(result, "");
        } else if (unreadable != 0) {
            static constexpr const char* kColumns[] = {"IK",          "PERC",       "KONF_LOW90",
                                                       "KONF_HIGH90", "KONF_LOW95", "KONF_HIGH95"};
            std::string columns;
            for (int i = 0; i < 6; ++i) {
                if ((unreadable >> i & 1u) != 0) {
                    columns += (columns.empty() ? "" : ", ") + std::string(kColumns[i]);
                }
            }
            noScore(result, row + ": " + columns + " saknar värde eller är inget tal.");
        } else if (result.sumIncomplete == 1) {
            // The NORMER message has said which subtest has no scaled score.
            noScore(result, "");
        }
    }

    void noScore(IndexResult& result, const std::string& why) {
        result.normMissing = 1;
        result.IK = 0;
        result.PERC = 0.0f;
        result.KONF_LOW90 = result.KONF_HIGH90 = result.KONF_LOW95 = result.KONF_HIGH95 = 0;
        if (!why.empty()) {
            showMessage(why + " Indexpoäng, percentil och konfidensintervall redovisas inte.");
        }
    }

    TestOccasion& occasion_;
    NormSource& norms_;
    const int years_;
};

} // namespace

int pfiSubstitute(const TestOccasion& occasion) {
    const std::int32_t* raw = occasion.RawScores;
    if (raw[RAW_FIGURVIKTER] != NOT_ADMINISTERED &&
        computeTestAge(occasion.person).years < kSubstituteAgeLimit) {
        return RAW_FIGURVIKTER;
    }
    return raw[RAW_BILDKOMPLETTERING] != NOT_ADMINISTERED ? RAW_BILDKOMPLETTERING : -1;
}

void computeIndexScores(TestOccasion& occasion, NormSource& norms) {
    IndexComputation(occasion, norms).run();
}
