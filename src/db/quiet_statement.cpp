// SPDX-License-Identifier: Apache-2.0
#include "quiet_statement.h"

#include <algorithm>

#pragma GCC diagnostic ignored "-Wold-style-cast"

QuietStatement::QuietStatement() {
    SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &handle_);
}

QuietStatement::~QuietStatement() {
    if (handle_ != SQL_NULL_HSTMT) {
        SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    }
}

bool QuietStatement::run(const std::string& sql) {
    if (handle_ == SQL_NULL_HSTMT) {
        message_ = "Ingen förbindelse med databasen.";
        return false;
    }
    sendDeferredStatements();
    const SQLRETURN result = SQLExecDirect(handle_, (SQLCHAR*)sql.c_str(), SQL_NTS);
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO || result == SQL_NO_DATA) {
        return true;
    }
    keepDiagnostic();
    return false;
}

bool QuietStatement::next() {
    const SQLRETURN fetched = SQLFetch(handle_);
    if (fetched == SQL_SUCCESS || fetched == SQL_SUCCESS_WITH_INFO) {
        return true;
    }
    if (fetched != SQL_NO_DATA) {
        keepDiagnostic();
    }
    return false;
}

std::string QuietStatement::text(SQLUSMALLINT column) {
    std::string value;
    char part[1024];
    for (;;) {
        SQLLEN length = 0;
        const SQLRETURN got = SQLGetData(handle_, column, SQL_C_CHAR, part, sizeof part, &length);
        if ((got != SQL_SUCCESS && got != SQL_SUCCESS_WITH_INFO) || length == SQL_NULL_DATA) {
            return value;
        }
        if (got == SQL_SUCCESS) {
            return value + std::string(part, std::min<std::size_t>(static_cast<std::size_t>(length),
                                                                   sizeof part - 1));
        }
        // A long text (a table's SQL) comes in parts, each filling the buffer but for its end.
        value += part;
    }
}

bool QuietStatement::nextText(std::string& value) {
    if (!next()) {
        return false;
    }
    value = text(1);
    return true;
}

void QuietStatement::keepDiagnostic() {
    SQLCHAR state[6] = {};
    SQLCHAR text[512] = {};
    SQLSMALLINT length = 0;
    SQLGetDiagRec(SQL_HANDLE_STMT, handle_, 1, state, &nativeError_, text, sizeof text - 1,
                  &length);
    message_ = reinterpret_cast<const char*>(text);
}

bool quietFirstValue(const std::string& sql, std::string& value, const std::string& whenNoRow,
                     std::string& problem) {
    QuietStatement query;
    if (!query.run(sql)) {
        problem = query.message();
        return false;
    }
    if (!query.nextText(value)) {
        problem = query.message().empty() ? whenNoRow : query.message();
        return false;
    }
    return true;
}
