// SPDX-License-Identifier: Apache-2.0
#include "norm_snapshot.h"

#include "norm_reads.h"

#include "odbc_connection.h"
#include "statement.h"
#include "transaction.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

// Wider than any key a lookup binds (49 bytes), so that a longer stored key stays different.
constexpr SQLLEN kKeyText = 512;

// The integer a stored SKAL equals when compared with "SKAL=%d": only a value the database holds
// as an integer, which the driver hands over in its plain decimal form.
bool integerKey(const char* text, std::int32_t& value) {
    const char* end = text + std::strlen(text);
    const auto parsed = std::from_chars(text, end, value);
    if (parsed.ec != std::errc() || parsed.ptr != end || text == end) {
        return false;
    }
    return std::to_string(value) == text;
}

} // namespace

extern const char* const kSnapshotSubgroupsSql =
    "SELECT NORMGRUPP, DELGRUPP, BESKRIVNING FROM NORMGRUPPER";
extern const char* const kSnapshotSubgroupsInOrderSql =
    "SELECT NORMGRUPP, DELGRUPP, BESKRIVNING FROM NORMGRUPPER ORDER BY SEKVENS ";

extern const char* const kSnapshotNormsSql =
    "SELECT NORMGRUPP, DELSKALA, DELGRUPP, S1, S2, S3, S4, S5, S6, "
    "S7, S8, S9, S10, S11, S12, S13, S14, S15, S16, S17, S18, S19 "
    "FROM NORMER";

bool fetchSnapshotNorms(Statement& statement, std::vector<NormSnapshotRow>& rows) {
    char keys[3][kKeyText] = {};
    NormSnapshotRow row;
    SQLLEN lengths[kSubscaleCount] = {};
    for (int k = 0; k < 3; ++k) {
        statement.bindColumnText(static_cast<SQLUSMALLINT>(k + 1), keys[k], kKeyText);
    }
    for (int k = 0; k < kSubscaleCount; ++k) {
        statement.bindColumnInt(static_cast<SQLUSMALLINT>(k + 4), &row.S[k], &lengths[k]);
    }
    const int done = statement.fetchEach([&] {
        row.normgrupp = keys[0];
        row.delskala = keys[1];
        row.delgrupp = keys[2];
        // The S columns are 4 to 22 here and 1 to 19 in the lookup.
        row.unreadable = static_cast<std::uint32_t>(statement.unreadableColumns() >> 3);
        for (int k = 0; k < kSubscaleCount; ++k) {
            if (lengths[k] == SQL_NULL_DATA) {
                row.unreadable |= 1u << k;
            }
        }
        rows.push_back(row);
        std::memset(keys, 0, sizeof keys);
    });
    return done == 1;
}

extern const char* const kSnapshotIndexNormsSql =
    "SELECT NORMGRUPP, \"INDEX\", SKAL, IK, PERC, KONF_LOW90, "
    "KONF_HIGH90, KONF_LOW95, KONF_HIGH95 FROM INDEX_NORMER";

bool fetchSnapshotIndexNorms(Statement& statement, std::vector<IndexSnapshotRow>& rows) {
    char normgrupp[kKeyText] = {};
    char index[kKeyText] = {};
    char skal[kKeyText] = {};
    SQLLEN skalLength = 0;
    IndexSnapshotRow row;
    IndexResult& result = row.values;
    std::int32_t* const integers[] = {&result.IK,         nullptr,
                                      &result.KONF_LOW90, &result.KONF_HIGH90,
                                      &result.KONF_LOW95, &result.KONF_HIGH95};
    SQLLEN lengths[6] = {};
    // Read as the lookup reads it: as text into a buffer of the same size.
    char percentile[40] = {};
    statement.bindColumnText(1, normgrupp, kKeyText);
    statement.bindColumnText(2, index, kKeyText);
    statement.bindColumnText(3, skal, kKeyText, &skalLength);
    for (int i = 0; i < 6; ++i) {
        const auto column = static_cast<SQLUSMALLINT>(i + 4);
        if (integers[i] != nullptr) {
            statement.bindColumnInt(column, integers[i], &lengths[i]);
        } else {
            statement.bindColumnText(column, percentile, sizeof percentile, &lengths[i]);
        }
    }
    const int done = statement.fetchEach([&] {
        row.normgrupp = normgrupp;
        row.index = index;
        row.skalIsInteger = skalLength != SQL_NULL_DATA && integerKey(skal, row.skal);
        row.unreadable =
            unreadableIndexNormCells(static_cast<std::uint32_t>(statement.unreadableColumns() >> 3),
                                     lengths, percentile, result.PERC);
        rows.push_back(row);
        normgrupp[0] = index[0] = skal[0] = percentile[0] = '\0';
    });
    return done == 1;
}

extern const char* const kSnapshotRangesSql =
    "SELECT NORMGRUPP, \"INDEX\", MAX(SKAL), MIN(SKAL) FROM "
    "INDEX_NORMER GROUP BY NORMGRUPP, \"INDEX\"";

bool fetchSnapshotRanges(Statement& statement, std::vector<IndexRangeSnapshot>& rows) {
    char normgrupp[kKeyText] = {};
    char index[kKeyText] = {};
    std::int32_t highest = 0;
    std::int32_t lowest = 0;
    SQLLEN highestLength = 0;
    SQLLEN lowestLength = 0;
    statement.bindColumnText(1, normgrupp, kKeyText);
    statement.bindColumnText(2, index, kKeyText);
    statement.bindColumnInt(3, &highest, &highestLength);
    statement.bindColumnInt(4, &lowest, &lowestLength);
    const int done = statement.fetchEach([&] {
        IndexRangeSnapshot range;
        range.normgrupp = normgrupp;
        range.index = index;
        if (highestLength == SQL_NULL_DATA || lowestLength == SQL_NULL_DATA) {
            range.result = DB_NO_ROW;
        } else if ((statement.unreadableColumns() >> 2) != 0) {
            range.result = DB_UNREADABLE;
        } else {
            range.result = DB_DONE;
            range.maximum = highest;
            range.minimum = lowest;
        }
        rows.push_back(range);
        normgrupp[0] = index[0] = '\0';
    });
    return done == 1;
}

bool fetchSnapshotSubgroups(Statement& statement, std::vector<SubgroupSnapshot>& rows) {
    char normgrupp[kKeyText] = {};
    char delgrupp[kKeyText] = {};
    SubgroupSnapshot row;
    statement.bindColumnText(1, normgrupp, kKeyText);
    statement.bindColumnText(2, delgrupp, kKeyText);
    statement.bindColumnText(3, row.beskrivning, kText64);
    const int done = statement.fetchEach([&] {
        row.normgrupp = normgrupp;
        row.delgrupp = delgrupp;
        rows.push_back(row);
        normgrupp[0] = delgrupp[0] = row.beskrivning[0] = '\0';
    });
    return done == 1;
}

namespace {

bool readNorms(std::vector<NormSnapshotRow>& rows) {
    Statement statement;
    if (!statement.executeDirect(kSnapshotNormsSql)) {
        return false;
    }
    const bool done = fetchSnapshotNorms(statement, rows);
    statement.closeCursor();
    statement.commit();
    return done;
}

bool readIndexNorms(std::vector<IndexSnapshotRow>& rows) {
    Statement statement;
    if (!statement.executeDirect(kSnapshotIndexNormsSql)) {
        return false;
    }
    const bool done = fetchSnapshotIndexNorms(statement, rows);
    statement.closeCursor();
    statement.commit();
    return done;
}

// The database computes each index's range itself, so that its ordering of mixed stored values
// (a text above every number) decides, as in the lookup.
bool readRanges(std::vector<IndexRangeSnapshot>& rows) {
    Statement statement;
    if (!statement.executeDirect(kSnapshotRangesSql)) {
        return false;
    }
    const bool done = fetchSnapshotRanges(statement, rows);
    statement.closeCursor();
    statement.commit();
    return done;
}

bool readSubgroups(const char* sql, std::vector<SubgroupSnapshot>& rows) {
    Statement statement;
    if (!statement.executeDirect(sql)) {
        return false;
    }
    const bool done = fetchSnapshotSubgroups(statement, rows);
    statement.closeCursor();
    statement.commit();
    return done;
}

} // namespace

DbResult DoReadNormSnapshot(NormSnapshot& snapshot) {
    snapshot = NormSnapshot{};
    const bool read = readNorms(snapshot.norms) && readIndexNorms(snapshot.indexNorms) &&
                      readRanges(snapshot.ranges) &&
                      readSubgroups(kSnapshotSubgroupsSql, snapshot.subgroups) &&
                      readSubgroups(kSnapshotSubgroupsInOrderSql, snapshot.subgroupsInOrder);
    return read ? DB_DONE : DB_FAILED;
}

namespace {

// Runs a one-row query past the statement class and reads its columns as non-negative integers
// (NULL as kNoNormStamp). A table or column that is not there is an answer here, not a failure to
// show: false, and nothing reported.
bool readCountersSilently(const char* sql, std::int64_t* values, int columns) {
    SQLHDBC connection = connectionHandle();
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (connection == SQL_NULL_HDBC ||
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement) != SQL_SUCCESS) {
        return false;
    }
    sendDeferredStatements();
    constexpr int kMostColumns = 4;
    char texts[kMostColumns][40] = {};
    SQLLEN lengths[kMostColumns] = {};
    bool read = false;
    const SQLRETURN run = SQLExecDirect(statement, (SQLCHAR*)sql, SQL_NTS);
    if (run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO) {
        read = true;
        for (int c = 0; c < columns && c < kMostColumns; ++c) {
            read = read && SQLBindCol(statement, static_cast<SQLUSMALLINT>(c + 1), SQL_C_CHAR,
                                      texts[c], sizeof texts[c], &lengths[c]) == SQL_SUCCESS;
        }
        const SQLRETURN fetched = read ? SQLFetch(statement) : SQL_ERROR;
        read = fetched == SQL_SUCCESS || fetched == SQL_SUCCESS_WITH_INFO;
    }
    for (int c = 0; read && c < columns; ++c) {
        values[c] = normStateValue(texts[c], lengths[c]);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    // Outside a transaction the read ends here; a server ends a failed one as rolled back.
    if (!transactionOpen()) {
        SQLEndTran(SQL_HANDLE_DBC, connection, SQL_COMMIT);
    }
    return read;
}

} // namespace

std::int64_t DoReadNormStamp() {
    std::int64_t stamp = kNoNormStamp;
    if (!readCountersSilently("SELECT NORMVERSION FROM NORMKALLA WHERE RECNO = 1", &stamp, 1)) {
        return kNoNormStamp;
    }
    return stamp;
}

#define RIVO_NORM_COUNTS                                                                           \
    "(SELECT COUNT(*) FROM NORMER), (SELECT COUNT(*) FROM INDEX_NORMER), (SELECT COUNT(*) FROM "   \
    "NORMGRUPPER)"
const char* const kNormTablesStateSql =
    "SELECT (SELECT NORMVERSION FROM NORMKALLA WHERE RECNO = 1), " RIVO_NORM_COUNTS;

std::int64_t normStateValue(const char* text, SQLLEN length) {
    const char* end = text + std::strlen(text);
    std::int64_t value = 0;
    const auto parsed = std::from_chars(text, end, value);
    return length != SQL_NULL_DATA && text != end && parsed.ec == std::errc() &&
                   parsed.ptr == end && value >= 0
               ? value
               : kNoNormStamp;
}

bool DoReadNormTablesState(NormTablesState& state) {
    state = NormTablesState{};
    std::int64_t values[4] = {};
    if (readCountersSilently(kNormTablesStateSql, values, 4)) {
        state.stamp = values[0];
        std::copy(values + 1, values + 4, state.rows);
        return true;
    }
    // A register from before the stamp: its norms count as never changed by an import.
    if (transactionOpen() || !readCountersSilently("SELECT " RIVO_NORM_COUNTS, values, 3)) {
        return false;
    }
    std::copy(values, values + 3, state.rows);
    return true;
}
#undef RIVO_NORM_COUNTS
