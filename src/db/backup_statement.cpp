// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "odbc_connection.h"

#include <sql.h>
#include <sqlext.h>

#include <cstring>

#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

void copyDiagnostic(SQLSMALLINT type, SQLHANDLE handle, char* message, int capacity) {
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    message[0] = '\0';
    if (handle != nullptr) {
        SQLGetDiagRec(type, handle, 1, state, &nativeError, (SQLCHAR*)message,
                      static_cast<SQLSMALLINT>(capacity - 1), &length);
    }
    message[capacity - 1] = '\0';
}

} // namespace

DbResult DoVacuumInto(const char* path, char* message, int capacity) {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &statement) != SQL_SUCCESS) {
        copyDiagnostic(SQL_HANDLE_DBC, connectionHandle(), message, capacity);
        return DB_FAILED;
    }
    SQLLEN pathLength = SQL_NTS;
    const SQLULEN pathSize = std::strlen(path) + 1;
    SQLRETURN result = SQLBindParameter(statement, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                        pathSize, 0, (SQLPOINTER)path, 0, &pathLength);
    if (result == SQL_SUCCESS) {
        result = SQLExecDirect(statement, (SQLCHAR*)"VACUUM INTO ?", SQL_NTS);
    }
    const bool done = result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
    if (!done) {
        copyDiagnostic(SQL_HANDLE_STMT, statement, message, capacity);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return done ? DB_DONE : DB_FAILED;
}
