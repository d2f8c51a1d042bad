// SPDX-License-Identifier: Apache-2.0
#include "schema.h"

#include "odbc_connection.h"
#include "schema_sql.h"
#include "statement.h"
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
                      std::strerror(errno));
        return false;
    }
    close(fd);
    return true;
}

namespace {

// Runs the statements of a schema text: each ends with a semicolon at the end of a line; comment
// lines start with "--". A comment line "-- SQLite only" or "-- PostgreSQL only" keeps the next
// statement to that database.
bool runSchemaText(std::string_view rest) {
    std::string statement;
    bool skipNext = false;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.starts_with("--")) {
            if (line == "-- SQLite only" || line == "-- PostgreSQL only") {
                skipNext = connectedToServer() != (line == "-- PostgreSQL only");
            }
            continue;
        }
        statement.append(line).append("\n");
        if (line.ends_with(";")) {
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

// Whether the database has the access log, asked past the statement class: a missing table is
// the answer here, not a failure to show.
bool accessLogPresent() {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &statement) != SQL_SUCCESS) {
        return false;
    }
    const SQLRETURN run =
        SQLExecDirect(statement,
                      const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(
                          "SELECT SEKVENS FROM ATKOMSTLOGG_HUVUD WHERE RECNO = 1")),
                      SQL_NTS);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    // A failed statement on a server must not linger as an open, aborted transaction.
    SQLEndTran(SQL_HANDLE_DBC, connectionHandle(),
               run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO ? SQL_COMMIT : SQL_ROLLBACK);
    return run == SQL_SUCCESS || run == SQL_SUCCESS_WITH_INFO;
}

} // namespace

DbResult DoCreateSchema() {
    return runSchemaText(kSchemaSql) && runSchemaText(kAccessLogSql) ? DB_DONE : DB_FAILED;
}

DbResult DoCreateSchemaBeforeAccessLog() {
    return runSchemaText(kSchemaSql) ? DB_DONE : DB_FAILED;
}

DbResult DoAddAccessLog(bool* added) {
    if (added != nullptr) {
        *added = false;
    }
    if (accessLogPresent()) {
        return DB_DONE;
    }
    Transaction transaction;
    if (!transaction.started() || !runSchemaText(kAccessLogSql) || !transaction.commit()) {
        return DB_FAILED;
    }
    if (added != nullptr) {
        *added = true;
    }
    return DB_DONE;
}
