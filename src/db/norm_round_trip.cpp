// SPDX-License-Identifier: Apache-2.0
#include "norm_reads.h"

#include "db.h"
#include "transaction.h"

#include <functional>
#include <string>

namespace {

// The state read as DoReadNormTablesState reads it.
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
    state.stamp = normStateValue(texts[0], lengths[0]);
    for (int c = 1; c < 4; ++c) {
        state.rows[c - 1] = normStateValue(texts[c], lengths[c]);
    }
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
        {kNormTablesStateSql, [&](Statement& s) { return fetchState(s, state); }},
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
