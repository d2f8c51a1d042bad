// SPDX-License-Identifier: Apache-2.0
#include "access_log.h"
#include "db.h"
#include "norm_reads.h"
#include "norm_snapshot.h"
#include "norm_tables.h"
#include "odbc_connection.h"
#include "statement.h"
#include "swedish_count.h"
#include "transaction.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <string>

#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

// Wider than any text the program reads, so that an over-long stored text reaches the checks
// whole instead of cut to fit.
constexpr SQLLEN kWideText = 512;

// Binds an integer result column so that a NULL and an unreadable value are both seen.
struct IntColumn {
    std::int32_t* value;
    SQLLEN length = 0;
};

std::string firstMissing(const Statement& statement, const IntColumn* columns, int count,
                         const SQLUSMALLINT* numbers, const char* const* names) {
    for (int i = 0; i < count; ++i) {
        const bool unreadable = (statement.unreadableColumns() >> (numbers[i] - 1)) & 1u;
        if (columns[i].length == SQL_NULL_DATA || unreadable) {
            return names[i];
        }
    }
    return {};
}

} // namespace

extern const char* const kNormGroupRowsSql =
    "SELECT NORMGRUPP, DELGRUPP, SEKVENS, BESKRIVNING FROM "
    "NORMGRUPPER ORDER BY NORMGRUPP, DELGRUPP, SEKVENS";

bool fetchNormGroupRows(Statement& statement, std::vector<NormGroupEntry>& rows) {
    char normgrupp[kWideText] = {};
    char delgrupp[kWideText] = {};
    char beskrivning[kWideText] = {};
    NormGroupEntry entry;
    IntColumn sekvens{&entry.sekvens};
    statement.bindColumnText(1, normgrupp, kWideText);
    statement.bindColumnText(2, delgrupp, kWideText);
    statement.bindColumnInt(3, sekvens.value, &sekvens.length);
    statement.bindColumnText(4, beskrivning, kWideText);
    const SQLUSMALLINT numbers[] = {3};
    const char* const names[] = {"SEKVENS"};
    const int done = statement.fetchEach([&] {
        entry.normgrupp = normgrupp;
        entry.delgrupp = delgrupp;
        entry.beskrivning = beskrivning;
        entry.unreadable = firstMissing(statement, &sekvens, 1, numbers, names);
        rows.push_back(entry);
    });
    return done == 1;
}

extern const char* const kNormEntryRowsSql =
    "SELECT NORMGRUPP, DELSKALA, DELGRUPP, S1, S2, S3, S4, S5, S6, S7, S8, S9, S10, S11, "
    "S12, S13, S14, S15, S16, S17, S18, S19 FROM NORMER ORDER BY NORMGRUPP, DELSKALA, "
    "DELGRUPP";

bool fetchNormEntryRows(Statement& statement, std::vector<NormEntry>& rows) {
    char normgrupp[kWideText] = {};
    char delskala[kWideText] = {};
    char delgrupp[kWideText] = {};
    NormEntry entry;
    IntColumn bounds[kNormBoundCount] = {};
    SQLUSMALLINT numbers[kNormBoundCount];
    static const char* const names[kNormBoundCount] = {
        "S1",  "S2",  "S3",  "S4",  "S5",  "S6",  "S7",  "S8",  "S9", "S10",
        "S11", "S12", "S13", "S14", "S15", "S16", "S17", "S18", "S19"};
    statement.bindColumnText(1, normgrupp, kWideText);
    statement.bindColumnText(2, delskala, kWideText);
    statement.bindColumnText(3, delgrupp, kWideText);
    for (int k = 0; k < kNormBoundCount; ++k) {
        bounds[k].value = &entry.S[k];
        numbers[k] = static_cast<SQLUSMALLINT>(4 + k);
        statement.bindColumnInt(numbers[k], bounds[k].value, &bounds[k].length);
    }
    const int done = statement.fetchEach([&] {
        entry.normgrupp = normgrupp;
        entry.delskala = delskala;
        entry.delgrupp = delgrupp;
        entry.unreadable = firstMissing(statement, bounds, kNormBoundCount, numbers, names);
        rows.push_back(entry);
    });
    return done == 1;
}

extern const char* const kIndexNormEntryRowsSql =
    "SELECT NORMGRUPP, \"INDEX\", SKAL, IK, PERC, KONF_LOW90, KONF_HIGH90, KONF_LOW95, "
    "KONF_HIGH95 FROM INDEX_NORMER ORDER BY NORMGRUPP, \"INDEX\", SKAL";

bool fetchIndexNormEntryRows(Statement& statement, std::vector<IndexNormEntry>& rows) {
    char normgrupp[kWideText] = {};
    char index[kWideText] = {};
    IndexNormEntry entry;
    IntColumn columns[] = {{&entry.skal},       {&entry.ik},        {&entry.konfLow90},
                           {&entry.konfHigh90}, {&entry.konfLow95}, {&entry.konfHigh95}};
    const SQLUSMALLINT numbers[] = {3, 4, 6, 7, 8, 9};
    const char* const names[] = {"SKAL",        "IK",         "KONF_LOW90",
                                 "KONF_HIGH90", "KONF_LOW95", "KONF_HIGH95"};
    constexpr int kColumns = 6;
    statement.bindColumnText(1, normgrupp, kWideText);
    statement.bindColumnText(2, index, kWideText);
    for (int i = 0; i < kColumns; ++i) {
        statement.bindColumnInt(numbers[i], columns[i].value, &columns[i].length);
    }
    // The percentile is read as text, so that a NULL or a text in its column is seen.
    char percentile[kWideText] = {};
    SQLLEN percentileLength = 0;
    statement.bindColumnText(5, percentile, kWideText, &percentileLength);
    const int done = statement.fetchEach([&] {
        entry.normgrupp = normgrupp;
        entry.index = index;
        entry.unreadable = firstMissing(statement, columns, kColumns, numbers, names);
        const bool percentileRead =
            percentileLength != SQL_NULL_DATA && readStoredFloat(percentile, entry.perc);
        if (!percentileRead) {
            entry.perc = 0.0f;
            if (entry.unreadable.empty()) {
                entry.unreadable = "PERC";
            }
        }
        rows.push_back(entry);
    });
    return done == 1;
}

namespace {

bool readGroups(std::vector<NormGroupEntry>& rows) {
    Statement statement;
    if (!statement.executeDirect(kNormGroupRowsSql)) {
        return false;
    }
    const bool done = fetchNormGroupRows(statement, rows);
    statement.closeCursor();
    statement.commit();
    return done;
}

bool readNorms(std::vector<NormEntry>& rows) {
    Statement statement;
    if (!statement.executeDirect(kNormEntryRowsSql)) {
        return false;
    }
    const bool done = fetchNormEntryRows(statement, rows);
    statement.closeCursor();
    statement.commit();
    return done;
}

bool readIndexNorms(std::vector<IndexNormEntry>& rows) {
    Statement statement;
    if (!statement.executeDirect(kIndexNormEntryRowsSql)) {
        return false;
    }
    const bool done = fetchIndexNormEntryRows(statement, rows);
    statement.closeCursor();
    statement.commit();
    return done;
}

bool run(const char* sql) {
    Statement statement;
    return statement.executeDirect(sql) && statement.commit();
}

// Whether a statement runs, without a message when it does not.
bool silentlyRuns(const char* sql) {
    SQLHDBC connection = connectionHandle();
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (connection == SQL_NULL_HDBC ||
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement) != SQL_SUCCESS) {
        return false;
    }
    sendDeferredStatements();
    const SQLRETURN result = SQLExecDirect(statement, (SQLCHAR*)sql, SQL_NTS);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    SQLEndTran(SQL_HANDLE_DBC, connection, result == SQL_SUCCESS ? SQL_COMMIT : SQL_ROLLBACK);
    return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

bool insertGroups(const std::vector<NormGroupEntry>& rows) {
    Statement statement;
    if (!statement.prepare("INSERT INTO NORMGRUPPER (NORMGRUPP, DELGRUPP, SEKVENS, BESKRIVNING) "
                           "VALUES (?, ?, ?, ?)")) {
        return false;
    }
    for (const NormGroupEntry& row : rows) {
        std::int32_t sekvens = row.sekvens;
        if (!(statement.bindText(1, row.normgrupp.c_str()) &&
              statement.bindText(2, row.delgrupp.c_str()) && statement.bindInt(3, &sekvens) &&
              statement.bindText(4, row.beskrivning.c_str()) && statement.execute())) {
            return false;
        }
    }
    return statement.commit();
}

bool insertNorms(const std::vector<NormEntry>& rows) {
    Statement statement;
    if (!statement.prepare("INSERT INTO NORMER (NORMGRUPP, DELSKALA, DELGRUPP, S1, S2, S3, S4, "
                           "S5, S6, S7, S8, S9, S10, S11, S12, S13, S14, S15, S16, S17, S18, S19) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                           "?, ?)")) {
        return false;
    }
    for (const NormEntry& row : rows) {
        std::int32_t bounds[kNormBoundCount];
        bool bound = statement.bindText(1, row.normgrupp.c_str()) &&
                     statement.bindText(2, row.delskala.c_str()) &&
                     statement.bindText(3, row.delgrupp.c_str());
        for (int k = 0; bound && k < kNormBoundCount; ++k) {
            bounds[k] = row.S[k];
            bound = statement.bindInt(static_cast<SQLUSMALLINT>(4 + k), &bounds[k]);
        }
        if (!bound || !statement.execute()) {
            return false;
        }
    }
    return statement.commit();
}

bool insertIndexNorms(const std::vector<IndexNormEntry>& rows) {
    Statement statement;
    if (!statement.prepare("INSERT INTO INDEX_NORMER (NORMGRUPP, \"INDEX\", SKAL, IK, PERC, "
                           "KONF_LOW90, KONF_HIGH90, KONF_LOW95, KONF_HIGH95) VALUES (?, ?, ?, ?, "
                           "?, ?, ?, ?, ?)")) {
        return false;
    }
    for (const IndexNormEntry& row : rows) {
        std::int32_t values[] = {row.skal,       row.ik,        row.konfLow90,
                                 row.konfHigh90, row.konfLow95, row.konfHigh95};
        const SQLUSMALLINT markers[] = {3, 4, 6, 7, 8, 9};
        float perc = row.perc;
        bool bound = statement.bindText(1, row.normgrupp.c_str()) &&
                     statement.bindText(2, row.index.c_str()) && statement.bindFloat(5, &perc);
        for (int i = 0; bound && i < 6; ++i) {
            bound = statement.bindInt(markers[i], &values[i]);
        }
        if (!bound || !statement.execute()) {
            return false;
        }
    }
    return statement.commit();
}

// Stores where the norms come from and gives them the next version stamp, in the import's
// transaction.
bool markOrigin(const char* importedAt, NormOrigin origin) {
    std::int32_t version = 0;
    {
        Statement statement;
        SQLLEN length = 0;
        if (!statement.executeDirect("SELECT MAX(NORMVERSION) FROM NORMKALLA") ||
            !statement.bindColumnInt(1, &version, &length) ||
            statement.fetch() == Statement::Fetch::Failed) {
            return false;
        }
        statement.closeCursor();
    }
    std::int32_t next = version + 1;
    std::int32_t synthetic = origin == NormOrigin::Demonstration ? 1 : 0;
    Statement statement;
    return run("DELETE FROM NORMKALLA") &&
           statement.prepare("INSERT INTO NORMKALLA (RECNO, SYNTETISKA, IMPORTERAD, NORMVERSION) "
                             "VALUES (1, ?, ?, ?)") &&
           statement.bindInt(1, &synthetic) && statement.bindText(2, importedAt) &&
           statement.bindInt(3, &next) && statement.execute() && statement.commit();
}

// A register made before the norms had a source or a version stamp gets them, before the
// import's transaction (a failed probe would spoil the transaction on a server).
bool ensureNormStampColumn() {
    if (transactionOpen() || DoReadNormStamp() != kNoNormStamp) {
        return true;
    }
    if (!silentlyRuns("SELECT NORMVERSION FROM NORMKALLA")) {
        if (silentlyRuns("SELECT RECNO FROM NORMKALLA")) {
            return run("ALTER TABLE NORMKALLA ADD COLUMN NORMVERSION INTEGER NOT NULL DEFAULT 0");
        }
        return run("CREATE TABLE NORMKALLA (RECNO INTEGER NOT NULL PRIMARY KEY, SYNTETISKA "
                   "INTEGER NOT NULL, IMPORTERAD VARCHAR(50), NORMVERSION INTEGER NOT NULL "
                   "DEFAULT 0)");
    }
    return true;
}

} // namespace

DbResult DoReadNormTables(NormTables& tables) {
    tables = NormTables{};
    return readGroups(tables.groups) && readNorms(tables.norms) && readIndexNorms(tables.indexNorms)
               ? DB_DONE
               : DB_FAILED;
}

DbResult DoInsertNormTables(const NormTables& tables) {
    return insertGroups(tables.groups) && insertNorms(tables.norms) &&
                   insertIndexNorms(tables.indexNorms)
               ? DB_DONE
               : DB_FAILED;
}

DbResult DoReplaceNormTables(const NormTables& tables, const char* importedAt, NormOrigin origin) {
    if (!ensureNormStampColumn()) {
        return DB_FAILED;
    }
    Transaction transaction;
    if (!transaction.started()) {
        return DB_FAILED;
    }
    const bool written =
        run("DELETE FROM NORMGRUPPER") && run("DELETE FROM NORMER") &&
        run("DELETE FROM INDEX_NORMER") && DoInsertNormTables(tables) == DB_DONE &&
        markOrigin(importedAt, origin) &&
        DoAppendAccessLog(
            AccessEvent::NormsImported, std::nullopt,
            swedishCount(static_cast<long long>(tables.groups.size() + tables.norms.size() +
                                                tables.indexNorms.size()),
                         "rad", "rader")) == DB_DONE;
    return written && transaction.commit() ? DB_DONE : DB_FAILED;
}

bool DoReadNormsSynthetic() {
    // Read past the statement class: a database from before the flag has no NORMKALLA, and that
    // is an answer here, not a failure to show.
    SQLHDBC connection = connectionHandle();
    if (connection == SQL_NULL_HDBC) {
        return true;
    }
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement) != SQL_SUCCESS) {
        return true;
    }
    sendDeferredStatements();
    SQLINTEGER synthetic = 1;
    SQLLEN length = 0;
    bool licensed = false;
    const SQLRETURN run = SQLExecDirect(
        statement, (SQLCHAR*)"SELECT SYNTETISKA FROM NORMKALLA WHERE RECNO = 1", SQL_NTS);
    if ((run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO) &&
        SQLBindCol(statement, 1, SQL_C_SLONG, &synthetic, 0, &length) == SQL_SUCCESS) {
        const SQLRETURN fetched = SQLFetch(statement);
        licensed = (fetched == SQL_SUCCESS || fetched == SQL_SUCCESS_WITH_INFO) &&
                   length != SQL_NULL_DATA && synthetic == 0;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    if (!transactionOpen()) {
        SQLEndTran(SQL_HANDLE_DBC, connection, SQL_COMMIT);
    }
    return !licensed;
}
