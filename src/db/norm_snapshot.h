// SPDX-License-Identifier: Apache-2.0
#pragma once

// The norm tables as the lookups of norm_statements.cpp see them, read whole: each row decoded
// by the same column bindings as the lookup that would fetch it, in the order a scan of the
// table delivers the rows (the order in which a lookup meets them, so the first row of a
// repeated key is the one a lookup returns).

#include "db.h"

struct NormTables;

#include <cstdint>
#include <string>
#include <vector>

struct NormSnapshotRow { // NORMER
    std::string normgrupp;
    std::string delskala;
    std::string delgrupp;
    std::int32_t S[kSubscaleCount] = {};
    std::uint32_t unreadable = 0; // as NormRequest::unreadable
};

struct IndexSnapshotRow { // INDEX_NORMER
    std::string normgrupp;
    std::string index;
    // SKAL as the database compares it with an integer: false for a stored value that equals no
    // integer (a text, a fraction), which no lookup by sum can find.
    bool skalIsInteger = false;
    std::int32_t skal = 0;
    IndexResult values{};         // IK, PERC and the four limits as the lookup fills them
    std::uint32_t unreadable = 0; // as DoReadIndexNormer's
};

struct IndexRangeSnapshot { // MAX(SKAL), MIN(SKAL) of one index, computed by the database
    std::string normgrupp;
    std::string index;
    DbResult result = DB_NO_ROW; // as DoReadIndexRange's
    std::int32_t maximum = 0;
    std::int32_t minimum = 0;
};

struct SubgroupSnapshot { // NORMGRUPPER
    std::string normgrupp;
    std::string delgrupp;
    char beskrivning[kText64] = {};
};

struct NormSnapshot {
    std::vector<NormSnapshotRow> norms;
    std::vector<IndexSnapshotRow> indexNorms;
    std::vector<IndexRangeSnapshot> ranges;
    std::vector<SubgroupSnapshot> subgroups;        // in scan order, for the descriptions
    std::vector<SubgroupSnapshot> subgroupsInOrder; // ORDER BY SEKVENS, for the subgroup lists
};

// Reads the three norm tables whole. 1 done; 0 on failure (reported), snapshot then incomplete.
DbResult DoReadNormSnapshot(NormSnapshot& snapshot);

// The version stamp of the norm tables (NORMKALLA.NORMVERSION), which every import of norms
// increases. An older register without the stamp answers kNoNormStamp, without a message: its
// norms count as never changed by an import.
inline constexpr std::int64_t kNoNormStamp = -1;
std::int64_t DoReadNormStamp();

// Whether the norm tables held in memory are still those of the database: the version stamp and
// the row count of each norm table, read with one statement. The counts also give away a table
// filled, emptied or dropped by hand, past import-norms.
struct NormTablesState {
    std::int64_t stamp = kNoNormStamp;
    std::int64_t rows[3] = {}; // NORMER, INDEX_NORMER, NORMGRUPPER
    bool operator==(const NormTablesState&) const = default;
};

// false, without a message, when a norm table cannot be read: the lookups then go to the
// database, which reports what fails.
bool DoReadNormTablesState(NormTablesState& state);

// DoReadOccasion with the norm tables' state read in the same statement: opening results costs
// one round trip for both. Only for a register whose norm tables carry the stamp (the statement
// fails on an older one, with a message): see normStateJoinable(). The state is valid only when
// the person was read.
DbResult DoReadOccasionWithNormState(std::int32_t id, TestOccasion& occasion, bool& hasScores,
                                     NormTablesState& state);

// On a server, outside a transaction: the state and the tables, as DoReadNormTablesState,
// DoReadNormSnapshot and DoReadNormTables read them, all in one round trip. false, with nothing
// reported, elsewhere or when any of it fails (an older register without the stamp, a table
// that cannot be read): the caller then reads them one by one, which reports what fails. A
// leadingCheck, a statement that fails when the register lacks something, goes first in the same
// round trip: its failure fails the whole read.
bool DoReadNormsInOneRoundTrip(NormTablesState& state, NormSnapshot& snapshot, NormTables& tables,
                               const char* leadingCheck = nullptr);
