// SPDX-License-Identifier: Apache-2.0
#include "transaction.h"

#include "access_log.h"
#include "db.h"
#include "odbc_connection.h"

#include <sql.h>
#include <sqlext.h>

// ODBC's attribute values are passed as pointers.
#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

bool open = false;

bool succeeded(SQLRETURN result) {
    return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

SQLRETURN setAutoCommit(SQLULEN mode) {
    return SQLSetConnectAttr(connectionHandle(), SQL_ATTR_AUTOCOMMIT, (SQLPOINTER)mode,
                             SQL_IS_UINTEGER);
}

} // namespace

bool transactionOpen() {
    return open;
}

Transaction::Transaction() {
    // Deferred statements are not to commit or roll back with the caller's work.
    if (!open) {
        sendDeferredStatements();
    }
    started_ = !open && succeeded(setAutoCommit(SQL_AUTOCOMMIT_OFF));
    if (!started_) {
        DoSQLError(nullptr);
        return;
    }
    open = true;
}

Transaction::~Transaction() {
    rollback();
}

bool Transaction::commit() {
    if (!started_ || finished_) {
        return false;
    }
    if (!succeeded(SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), SQL_COMMIT))) {
        DoSQLError(nullptr);
        rollback();
        return false;
    }
    accessLogTransactionEnded(true);
    finish();
    return true;
}

void Transaction::rollback() {
    if (!started_ || finished_) {
        return;
    }
    SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), SQL_ROLLBACK);
    finish();
}

void Transaction::finish() {
    accessLogTransactionEnded(false);
    finished_ = true;
    open = false;
    setAutoCommit(SQL_AUTOCOMMIT_ON);
}
