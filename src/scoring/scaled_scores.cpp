// SPDX-License-Identifier: Apache-2.0
#include "scaled_scores.h"

#include "age_band.h"
#include "index_scores.h"
#include "message_box.h"
#include "subtest_table.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kNoNormsColumn = 17; // S18

// Copies a text into a key field, cut to fit as "%s" would be (this runs 19 times for every
// person of an export, where formatting was a sixth of the time).
template <std::size_t N> void copyKey(char (&to)[N], const char* from) {
    const std::size_t length = strnlen(from, N - 1);
    std::memcpy(to, from, length);
    to[length] = '\0';
}

// The bounds that decide a scaled score; S19 is never compared.
constexpr std::uint32_t kComparedBounds = (1u << 18) - 1;

void reportUnreadableBounds(const NormRequest& request) {
    std::string columns;
    for (int k = 0; k < kSubscaleCount; ++k) {
        if ((request.unreadable >> k & 1u) != 0) {
            columns += (columns.empty() ? "S" : ", S") + std::to_string(k + 1);
        }
    }
    showMessage("NORMER " + std::string(request.NORMGRUPP) + " " + request.DELSKALA + " " +
                request.DELGRUPP + ": " + columns +
                " saknar värde eller är inget tal. Skalpoängen kan inte räknas fram och index "
                "som bygger på den redovisas inte.");
}

// Converts every raw score against the subgroup's rows; returns the subscales whose row was
// missing or unreadable.
std::uint32_t convertAgainst(TestOccasion& occasion, const char* subgroup,
                             std::int32_t (&scaled)[kSubscaleCount], NormSource& norms) {
    std::uint32_t unscored = 0;
    for (int subscale = 0; subscale < kSubscaleCount; ++subscale) {
        NormRequest request{};
        copyKey(request.NORMGRUPP, occasion.NORMGRUPP);
        copyKey(request.DELSKALA, kDelskala[subscale]);
        copyKey(request.DELGRUPP, subgroup);
        if (norms.readNormRow(request) != DB_DONE) {
            char message[3 * kText50 + 32];
            std::snprintf(message, sizeof message, "%s %s %s finns inte.", request.NORMGRUPP,
                          request.DELSKALA, request.DELGRUPP);
            showMessage(message);
            scaled[subscale] = 0;
            unscored |= 1u << subscale;
            continue;
        }
        // A bound read as 0 would move the score without a word.
        if ((request.unreadable & kComparedBounds) != 0) {
            reportUnreadableBounds(request);
            scaled[subscale] = 0;
            unscored |= 1u << subscale;
            continue;
        }
        scaled[subscale] =
            scaledScoreFor(occasion.RawScores[kSubscaleRawScore[subscale]], request.S);
    }
    return unscored;
}

} // namespace

int scaledScoreFor(int raw, std::span<const std::int32_t, kSubscaleCount> S) {
    if (raw == NOT_ADMINISTERED || S[kNoNormsColumn] == NOT_ADMINISTERED) {
        return 0;
    }
    for (int k = 1; k <= 18; ++k) {
        if (raw <= S[static_cast<std::size_t>(k - 1)]) {
            return k;
        }
    }
    return 19;
}

void computeScaledScores(TestOccasion& occasion, NormSource& norms) {
    // Every index record, GAI included, starts from zero: a lookup that finds no row must leave
    // the field empty, never the previous person's value.
    for (IndexResult& index : occasion.indexes) {
        index = IndexResult{};
    }
    occasion.unscoredSubscales = 0;
    // No band: selectAgeBand found no test age for the person, and said so.
    if (occasion.ageBand[0] == '\0') {
        std::memset(occasion.ScaledScores, 0, sizeof occasion.ScaledScores);
        std::memset(occasion.ReferenceScaledScores, 0, sizeof occasion.ReferenceScaledScores);
        return;
    }
    std::int32_t scaled[kSubscaleCount] = {};
    occasion.unscoredSubscales = convertAgainst(occasion, occasion.ageBand, scaled, norms);
    std::memcpy(occasion.ScaledScores, scaled, sizeof scaled);

    std::int32_t reference[kSubscaleCount] = {};
    convertAgainst(occasion, kReferenceGroup, reference, norms);
    std::memcpy(occasion.ReferenceScaledScores, reference, sizeof reference);

    computeIndexScores(occasion, norms);
}
