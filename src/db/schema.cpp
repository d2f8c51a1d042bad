// SPDX-License-Identifier: Apache-2.0
#include "schema.h"

#include "db.h"
#include "odbc_connection.h"
#include "schema_sql.h"
#include "statement.h"
#include "system_error_text.h"
#include "transaction.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

bool createDatabaseFile(const char* path, char* errorText, int errorCapacity) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        std::snprintf(errorText, static_cast<std::size_t>(errorCapacity), "%s: %s", path,
                      systemErrorText(errno).c_str());
        return false;
    }
    close(fd);
    return true;
}

namespace {

// Whether the text opens a $$-quoted body it does not close: a function's body holds semicolons
// at the ends of its lines that do not end the statement.
bool insideDollarQuote(std::string_view text) {
    int marks = 0;
    for (std::size_t at = text.find("$$"); at != std::string_view::npos;
         at = text.find("$$", at + 2)) {
        ++marks;
    }
    return marks % 2 == 1;
}

// Runs the statements of a schema text: each ends with a semicolon at the end of a line outside
// a $$-quoted body; comment lines start with "--". A comment line "-- SQLite only" or
// "-- PostgreSQL only" keeps the next statement to that database.
bool runSchemaText(std::string_view rest) {
    std::string statement;
    bool skipNext = false;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.starts_with("--") && !insideDollarQuote(statement)) {
            if (line == "-- SQLite only" || line == "-- PostgreSQL only") {
                skipNext = connectedToServer() != (line == "-- PostgreSQL only");
            }
            continue;
        }
        statement.append(line).append("\n");
        if (line.ends_with(";") && !insideDollarQuote(statement)) {
            Statement run;
            if (!skipNext && (!run.executeDirect(statement.c_str()) || !run.commit())) {
                return false;
            }
            statement.clear();
            skipNext = false;
        }
    }
    return true;
}

// Whether the query runs, asked past the statement class: a missing table is the answer here,
// not a failure to show.
// The connection's deferred statements go along in the same string; when it fails they were
// not done and stay deferred.
bool tablePresent(const char* query) {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &statement) != SQL_SUCCESS) {
        return false;
    }
    const bool folded = connectedToServer() && !transactionOpen();
    if (!folded) {
        sendDeferredStatements();
    }
    std::string sql;
    for (const std::string& deferred : deferredStatements()) {
        sql += deferred + ";";
    }
    sql += query;
    const SQLRETURN run = SQLExecDirect(
        statement, const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(sql.c_str())), SQL_NTS);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    if (run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO) {
        deferredStatementsSent();
    }
    // A failed statement on a server must not linger as an open, aborted transaction.
    SQLEndTran(SQL_HANDLE_DBC, connectionHandle(),
               run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO ? SQL_COMMIT : SQL_ROLLBACK);
    return run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO;
}

// Whether a server register has the function that appends to the access log.
bool appendFunctionPresent() {
    return tablePresent("SELECT CAST('atkomstlogg_skriv(VARCHAR, VARCHAR, VARCHAR, VARCHAR, "
                        "INTEGER, VARCHAR)' AS REGPROCEDURE)");
}

// Whether the register has the log's tables and, on a server, the append function: one
// statement, which fails when either is missing, so that the common answer costs one round trip.
bool wholeLogPresent() {
    return connectedToServer()
               ? tablePresent("SELECT SEKVENS, CAST('atkomstlogg_skriv(VARCHAR, VARCHAR, VARCHAR, "
                              "VARCHAR, INTEGER, VARCHAR)' AS REGPROCEDURE) FROM "
                              "ATKOMSTLOGG_HUVUD WHERE RECNO = 1")
               : tablePresent("SELECT SEKVENS FROM ATKOMSTLOGG_HUVUD WHERE RECNO = 1");
}

} // namespace

DbResult DoCreateSchema() {
    return runSchemaText(kSchemaSql) && runSchemaText(kAccessLogSql) &&
                   runSchemaText(kAccessLogAppendSql) && runSchemaText(kLoginFailuresSql)
               ? DB_DONE
               : DB_FAILED;
}

DbResult DoCreateSchemaBeforeAccessLog() {
    return runSchemaText(kSchemaSql) ? DB_DONE : DB_FAILED;
}

bool DoHasAccessLog() {
    return wholeLogPresent();
}

DbResult DoAddAccessLog(bool* added) {
    if (added != nullptr) {
        *added = false;
    }
    if (wholeLogPresent()) {
        return DB_DONE;
    }
    const bool tables = tablePresent("SELECT SEKVENS FROM ATKOMSTLOGG_HUVUD WHERE RECNO = 1");
    // A server register whose log is older than the append function gets the function alone.
    const bool function = !connectedToServer() || appendFunctionPresent();
    if (tables && function) {
        return DB_DONE;
    }
    Transaction transaction;
    if (!transaction.started() || (!tables && !runSchemaText(kAccessLogSql)) ||
        (!function && !runSchemaText(kAccessLogAppendSql)) || !transaction.commit()) {
        return DB_FAILED;
    }
    if (added != nullptr) {
        *added = !tables;
    }
    return DB_DONE;
}

const char* const kAccessLogAndLoginFailuresPresentSql =
    "SELECT SEKVENS, CAST('atkomstlogg_skriv(VARCHAR, VARCHAR, VARCHAR, VARCHAR, INTEGER, "
    "VARCHAR)' AS REGPROCEDURE), (SELECT ANTAL FROM INLOGGNINGSFORSOK WHERE 1 = 0) FROM "
    "ATKOMSTLOGG_HUVUD WHERE RECNO = 1";

DbResult DoAddAccessLogAndLoginFailures() {
    if (connectedToServer() && tablePresent(kAccessLogAndLoginFailuresPresentSql)) {
        return DB_DONE;
    }
    return DoAddAccessLog() == DB_DONE ? DoAddLoginFailures() : DB_FAILED;
}

DbResult DoAddLoginFailures(bool* added) {
    if (added != nullptr) {
        *added = false;
    }
    if (tablePresent("SELECT ANTAL FROM INLOGGNINGSFORSOK WHERE 1 = 0")) {
        return DB_DONE;
    }
    Transaction transaction;
    if (!transaction.started() || !runSchemaText(kLoginFailuresSql) || !transaction.commit()) {
        return DB_FAILED;
    }
    if (added != nullptr) {
        *added = true;
    }
    return DB_DONE;
}
