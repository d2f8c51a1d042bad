#include "statement.h"

#include "db.h"
#include "odbc_connection.h"
#include "transaction.h"

#include <cstring>

// ODBC's interface is built on C-style casts between handle and pointer types.
#pragma GCC diagnostic ignored "-Wold-style-cast"

Statement::Statement() {
    if (SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &handle_) != SQL_SUCCESS) {
        DoSQLError(nullptr);
        handle_ = SQL_NULL_HSTMT;
    }
}

Statement::~Statement() {
    if (handle_ != SQL_NULL_HSTMT) {
        SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    }
}

bool Statement::check(SQLRETURN result) {
    if (result == SQL_SUCCESS) {
        return true;
    }
    DoSQLError(handle_);
    return false;
}

SQLLEN* Statement::parameterIndicator(SQLUSMALLINT marker) {
    return marker < kMaxBindings ? &parameterIndicators_[marker] : &overflowIndicator_;
}

SQLLEN* Statement::columnIndicator(SQLUSMALLINT column) {
    return column < kMaxBindings ? &columnIndicators_[column] : &overflowIndicator_;
}

// An UPDATE or DELETE that touches no row returns SQL_NO_DATA under ODBC 3; for the program that
// is a statement done, as it was under ODBC 2, not a failure.
static SQLRETURN noRowsIsSuccess(SQLRETURN result) {
    return result == SQL_NO_DATA ? SQL_SUCCESS : result;
}

bool Statement::executeDirect(const char* sql) {
    return check(noRowsIsSuccess(SQLExecDirect(handle_, (SQLCHAR*)sql, SQL_NTS)));
}

bool Statement::prepare(const char* sql) {
    return check(SQLPrepare(handle_, (SQLCHAR*)sql, SQL_NTS));
}

bool Statement::execute() {
    return check(noRowsIsSuccess(SQLExecute(handle_)));
}

bool Statement::bindInt(SQLUSMALLINT marker, std::int32_t* value) {
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                                  value, 0, nullptr));
}

bool Statement::bindText(SQLUSMALLINT marker, const char* text) {
    SQLLEN* indicator = parameterIndicator(marker);
    *indicator = SQL_NTS;
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                  kTextParameterSize, 0, (SQLPOINTER)text, 0, indicator));
}

bool Statement::bindDate(SQLUSMALLINT marker, DateValue* date) {
    static_assert(sizeof(DateValue) == sizeof(SQL_DATE_STRUCT));
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_TYPE_DATE, SQL_TYPE_DATE,
                                  10, 0, date, 0, nullptr));
}

bool Statement::bindFloat(SQLUSMALLINT marker, float* value) {
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_FLOAT, SQL_REAL, 0, 0,
                                  value, 0, nullptr));
}

bool Statement::bindColumnInt(SQLUSMALLINT column, std::int32_t* value, SQLLEN* length) {
    return check(SQLBindCol(handle_, column, SQL_C_SLONG, value, 0,
                            length != nullptr ? length : columnIndicator(column)));
}

bool Statement::bindColumnFloat(SQLUSMALLINT column, float* value) {
    return check(SQLBindCol(handle_, column, SQL_C_FLOAT, value, 0, columnIndicator(column)));
}

bool Statement::bindColumnText(SQLUSMALLINT column, char* text, SQLLEN capacity, SQLLEN* length) {
    return check(SQLBindCol(handle_, column, SQL_C_CHAR, text, capacity,
                            length != nullptr ? length : columnIndicator(column)));
}

bool Statement::bindColumnDate(SQLUSMALLINT column, DateValue* date) {
    return check(SQLBindCol(handle_, column, SQL_C_TYPE_DATE, date, sizeof(DateValue),
                            columnIndicator(column)));
}

Statement::Fetch Statement::fetch() {
    const SQLRETURN result = SQLFetch(handle_);
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) {
        return Fetch::Row;
    }
    if (result == SQL_NO_DATA) {
        return Fetch::NoRow;
    }
    DoSQLError(handle_);
    return Fetch::Failed;
}

int Statement::fetchEach(const std::function<void()>& onRow) {
    for (;;) {
        switch (fetch()) {
        case Fetch::Row:
            onRow();
            break;
        case Fetch::NoRow:
            return DB_DONE;
        case Fetch::Failed:
            return DB_FAILED;
        }
    }
}

void Statement::closeCursor() {
    SQLCloseCursor(handle_);
}

bool Statement::commit() {
    if (transactionOpen()) {
        return true; // the transaction commits all its statements at once
    }
    const SQLRETURN result = SQLEndTran(SQL_HANDLE_DBC, connectionHandle(), SQL_COMMIT);
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) {
        return true;
    }
    DoSQLError(nullptr);
    return false;
}

std::int64_t Statement::rowCount() {
    SQLLEN rows = 0;
    if (SQLRowCount(handle_, &rows) != SQL_SUCCESS) {
        return -1;
    }
    return rows;
}
