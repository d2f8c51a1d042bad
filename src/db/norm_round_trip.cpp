// SPDX-License-Identifier: Apache-2.0
#include "norm_reads.h"

#include "db.h"
#include "transaction.h"

#include <charconv>
#include <cstring>
#include <functional>
#include <string>

namespace {

// The state's statement as DoReadNormTablesState sends it to a register with the stamp.
constexpr const char* kStateSql =
    "SELECT (SELECT NORMVERSION FROM NORMKALLA WHERE RECNO = 1), (SELECT COUNT(*) FROM NORMER), "
    "(SELECT COUNT(*) FROM INDEX_NORMER), (SELECT COUNT(*) FROM NORMGRUPPER)";

// Each value read as DoReadNormTablesState reads it: a non-negative integer, anything else
// kNoNormStamp.
bool fetchState(Statement& statement, NormTablesState& state) {
    char texts[4][40] = {};
    SQLLEN lengths[4] = {};
    for (int c = 0; c < 4; ++c) {
        statement.bindColumnText(static_cast<SQLUSMALLINT>(c + 1), texts[c], sizeof texts[c],
                                 &lengths[c]);
    }
    if (statement.fetch() != Statement::Fetch::Row) {
        return false;
    }
    std::int64_t values[4] = {};
    for (int c = 0; c < 4; ++c) {
        const char* end = texts[c] + std::strlen(texts[c]);
        std::int64_t value = 0;
        const auto parsed = std::from_chars(texts[c], end, value);
        values[c] = lengths[c] != SQL_NULL_DATA && texts[c] != end && parsed.ec == std::errc() &&
                            parsed.ptr == end && value >= 0
                        ? value
                        : kNoNormStamp;
    }
    state.stamp = values[0];
    std::copy(values + 1, values + 4, state.rows);
    // The state's one row is read: the statement moves on to the next result.
    return statement.fetch() == Statement::Fetch::NoRow;
}

} // namespace

bool DoReadNormsInOneRoundTrip(NormTablesState& state, NormSnapshot& snapshot, NormTables& tables,
                               const char* leadingCheck) {
    if (!connectedToServer() || transactionOpen()) {
        return false;
    }
    state = NormTablesState{};
    snapshot = NormSnapshot{};
    tables = NormTables{};
    using Reader = std::function<bool(Statement&)>;
    const std::pair<const char*, Reader> reads[] = {
        {kStateSql, [&](Statement& s) { return fetchState(s, state); }},
        {kSnapshotNormsSql, [&](Statement& s) { return fetchSnapshotNorms(s, snapshot.norms); }},
        {kSnapshotIndexNormsSql,
         [&](Statement& s) { return fetchSnapshotIndexNorms(s, snapshot.indexNorms); }},
        {kSnapshotRangesSql, [&](Statement& s) { return fetchSnapshotRanges(s, snapshot.ranges); }},
        {kSnapshotSubgroupsSql,
         [&](Statement& s) { return fetchSnapshotSubgroups(s, snapshot.subgroups); }},
        {kSnapshotSubgroupsInOrderSql,
         [&](Statement& s) { return fetchSnapshotSubgroups(s, snapshot.subgroupsInOrder); }},
        {kNormGroupRowsSql, [&](Statement& s) { return fetchNormGroupRows(s, tables.groups); }},
        {kNormEntryRowsSql, [&](Statement& s) { return fetchNormEntryRows(s, tables.norms); }},
        {kIndexNormEntryRowsSql,
         [&](Statement& s) { return fetchIndexNormEntryRows(s, tables.indexNorms); }},
    };
    std::string sql = leadingCheck != nullptr ? std::string(leadingCheck) + ";" : std::string();
    for (const auto& [text, reader] : reads) {
        sql += text;
        sql += ";";
    }
    sql.pop_back();
    Statement statement(Statement::Failures::Quiet);
    bool read = statement.executeDirect(sql.c_str());
    // The check counts by running at all; its rows are not read.
    bool first = leadingCheck == nullptr;
    for (const auto& [text, reader] : reads) {
        read = read && (first || statement.nextResult()) && reader(statement);
        first = false;
    }
    statement.closeCursor();
    statement.commit();
    return read;
}
