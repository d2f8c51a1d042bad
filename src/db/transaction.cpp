#include "transaction.h"

#include "db.h"
#include "odbc_connection.h"

#include <sql.h>
#include <sqlext.h>

// ODBC's attribute values are passed as pointers.
#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

bool succeeded(SQLRETURN result) {
    return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

SQLRETURN setAutoCommit(SQLULEN mode) {
    return SQLSetConnectAttr(connectionHandle(), SQL_ATTR_AUTOCOMMIT, (SQLPOINTER)mode,
                             SQL_IS_UINTEGER);
}

} // namespace

Transaction::Transaction() {
    started_ = succeeded(setAutoCommit(SQL_AUTOCOMMIT_OFF));
    if (!started_) {
        DoSQLError(nullptr);
    }
}

Transaction::~Transaction() {
    if (!started_) {
        return;
    }
    if (!finished_) {
        SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), SQL_ROLLBACK);
    }
    setAutoCommit(SQL_AUTOCOMMIT_ON);
}

bool Transaction::commit() {
    if (!started_ || finished_) {
        return false;
    }
    if (!succeeded(SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), SQL_COMMIT))) {
        DoSQLError(nullptr);
        return false;
    }
    finished_ = true;
    return true;
}
