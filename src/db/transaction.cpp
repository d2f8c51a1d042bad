#include "transaction.h"

#include "db.h"
#include "odbc_connection.h"

#include <sql.h>
#include <sqlext.h>

#pragma GCC diagnostic ignored "-Wold-style-cast"

namespace {

bool open = false;

bool succeeded(SQLRETURN result) {
    return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

bool setAutoCommit(bool on) {
    const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    return succeeded(
        SQLSetConnectAttr(connectionHandle(), SQL_ATTR_AUTOCOMMIT, (SQLPOINTER)value, 0));
}

} // namespace

bool transactionOpen() {
    return open;
}

DbTransaction::DbTransaction() {
    if (open || !setAutoCommit(false)) {
        DoSQLError(nullptr);
        return;
    }
    begun_ = true;
    open = true;
}

DbTransaction::~DbTransaction() {
    if (begun_ && !ended_) {
        rollback();
    }
}

bool DbTransaction::commit() {
    if (!begun_ || ended_) {
        return false;
    }
    if (!succeeded(SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), SQL_COMMIT))) {
        DoSQLError(nullptr);
        rollback();
        return false;
    }
    end();
    return true;
}

void DbTransaction::rollback() {
    if (!begun_ || ended_) {
        return;
    }
    SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), SQL_ROLLBACK);
    end();
}

void DbTransaction::end() {
    ended_ = true;
    open = false;
    setAutoCommit(true);
}
