// SPDX-License-Identifier: Apache-2.0
#include "statement.h"

#include "db.h"
#include "odbc_connection.h"
#include "transaction.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

// ODBC's interface is built on C-style casts between handle and pointer types.
#pragma GCC diagnostic ignored "-Wold-style-cast"

Statement::Statement(Failures failures) : quiet_(failures == Failures::Quiet) {
    if (SQLAllocHandle(SQL_HANDLE_STMT, connectionHandle(), &handle_) != SQL_SUCCESS) {
        if (!quiet_) {
            DoSQLError(nullptr);
        }
        handle_ = SQL_NULL_HSTMT;
        failed_ = true;
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
    if (!quiet_) {
        DoSQLError(handle_);
    }
    failed_ = true;
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

bool Statement::executeWithDeferred(const char* sql, SQLRETURN& result) {
    const std::vector<std::string>& deferred = deferredStatements();
    std::string joined;
    for (const std::string& statement : deferred) {
        joined += statement + ";";
    }
    joined += sql;
    result = noRowsIsSuccess(SQLExecDirect(handle_, (SQLCHAR*)joined.c_str(), SQL_NTS));
    // A string that failed ran as one implicit transaction on the server: nothing of it stays.
    if (result != SQL_SUCCESS && result != SQL_SUCCESS_WITH_INFO) {
        SQLFreeStmt(handle_, SQL_CLOSE);
        return false;
    }
    const std::size_t skipped = deferred.size();
    deferredStatementsSent();
    // The deferred statements' own results come first. A warning the string gave is kept.
    const SQLRETURN executed = result;
    for (std::size_t i = 0; i < skipped && result != SQL_ERROR; ++i) {
        const SQLRETURN more = SQLMoreResults(handle_);
        result = more == SQL_NO_DATA ? SQL_ERROR : more;
    }
    if (result == SQL_SUCCESS) {
        result = executed;
    }
    return true;
}

bool Statement::executeDirect(const char* sql) {
    if (failed_) {
        return false;
    }
    if (!deferredStatements().empty()) {
        SQLRETURN result = SQL_SUCCESS;
        if (connectedToServer() && !transactionOpen() && !readsThroughCursor() &&
            executeWithDeferred(sql, result)) {
            return check(noRowsIsSuccess(result));
        }
        sendDeferredStatements();
    }
    return check(noRowsIsSuccess(SQLExecDirect(handle_, (SQLCHAR*)sql, SQL_NTS)));
}

bool Statement::prepare(const char* sql) {
    if (failed_) {
        return false;
    }
    sendDeferredStatements();
    return check(SQLPrepare(handle_, (SQLCHAR*)sql, SQL_NTS));
}

void Statement::unbindColumns() {
    SQLFreeStmt(handle_, SQL_UNBIND);
    for (ColumnBinding& binding : columns_) {
        binding = ColumnBinding{};
    }
    unreadableColumns_ = 0;
}

bool Statement::nextResult() {
    if (failed_) {
        return false;
    }
    const SQLRETURN more = SQLMoreResults(handle_);
    if (more == SQL_NO_DATA) {
        return false;
    }
    unbindColumns();
    return check(more);
}

bool Statement::execute() {
    if (failed_) {
        return false;
    }
    return check(noRowsIsSuccess(SQLExecute(handle_)));
}

bool Statement::bindInt(SQLUSMALLINT marker, std::int32_t* value) {
    if (failed_) {
        return false;
    }
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                                  value, 0, nullptr));
}

bool Statement::bindText(SQLUSMALLINT marker, const char* text) {
    if (failed_) {
        return false;
    }
    SQLLEN* indicator = parameterIndicator(marker);
    *indicator = SQL_NTS;
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                  kTextParameterSize, 0, (SQLPOINTER)text, 0, indicator));
}

bool Statement::bindDate(SQLUSMALLINT marker, DateValue* date) {
    if (failed_) {
        return false;
    }
    static_assert(sizeof(DateValue) == sizeof(SQL_DATE_STRUCT));
    // The empty date {0, 0, 0} (none entered) is stored as NULL: a server's DATE column refuses
    // day 0 of month 0, and either way it reads back as the empty date.
    SQLLEN* indicator = parameterIndicator(marker);
    *indicator = date->year == 0 && date->month == 0 && date->day == 0 ? SQL_NULL_DATA : 0;
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_TYPE_DATE, SQL_TYPE_DATE,
                                  10, 0, date, 0, indicator));
}

bool Statement::bindFloat(SQLUSMALLINT marker, float* value) {
    if (failed_) {
        return false;
    }
    return check(SQLBindParameter(handle_, marker, SQL_PARAM_INPUT, SQL_C_FLOAT, SQL_REAL, 0, 0,
                                  value, 0, nullptr));
}

bool Statement::bindColumn(SQLUSMALLINT column, ColumnKind kind, void* destination, SQLLEN capacity,
                           SQLLEN* callerLength, std::int32_t nullValue) {
    if (failed_) {
        return false;
    }
    if (column == 0 || column >= kMaxBindings) {
        return check(SQL_ERROR);
    }
    ColumnBinding& binding = columns_[column];
    binding = ColumnBinding{kind, destination, capacity, callerLength, nullValue, {}};
    SQLLEN* indicator = columnIndicator(column);
    switch (kind) {
    case ColumnKind::Int:
    case ColumnKind::Date:
        return check(
            SQLBindCol(handle_, column, SQL_C_CHAR, binding.text, sizeof binding.text, indicator));
    case ColumnKind::Float:
        return check(SQLBindCol(handle_, column, SQL_C_FLOAT, destination, 0, indicator));
    case ColumnKind::Text:
        return check(SQLBindCol(handle_, column, SQL_C_CHAR, destination, capacity, indicator));
    case ColumnKind::Unbound:
        break;
    }
    return check(SQL_ERROR);
}

bool Statement::bindColumnInt(SQLUSMALLINT column, std::int32_t* value, SQLLEN* length,
                              std::int32_t nullValue) {
    return bindColumn(column, ColumnKind::Int, value, 0, length, nullValue);
}

bool Statement::bindColumnFloat(SQLUSMALLINT column, float* value) {
    return bindColumn(column, ColumnKind::Float, value, 0, nullptr, 0);
}

bool Statement::bindColumnText(SQLUSMALLINT column, char* text, SQLLEN capacity, SQLLEN* length) {
    return bindColumn(column, ColumnKind::Text, text, capacity, length, 0);
}

bool Statement::bindColumnDate(SQLUSMALLINT column, DateValue* date) {
    return bindColumn(column, ColumnKind::Date, date, 0, nullptr, 0);
}

namespace {

// A text cut at the end of its buffer may end inside a multi-byte UTF-8 letter: drop that part.
void dropCutLetter(char* text, std::size_t length) {
    std::size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0u) == 0x80u) {
        --start;
    }
    if (start == 0) {
        return;
    }
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t expected = lead >= 0xF0u ? 4 : lead >= 0xE0u ? 3 : lead >= 0xC0u ? 2 : 1;
    if (lead >= 0xC0u && length - (start - 1) < expected) {
        text[start - 1] = '\0';
    }
}

} // namespace

void Statement::deliverRow() {
    unreadableColumns_ = 0;
    for (int column = 1; column < kMaxBindings; ++column) {
        ColumnBinding& binding = columns_[column];
        if (binding.kind == ColumnKind::Unbound) {
            continue;
        }
        const SQLLEN indicator = columnIndicators_[column];
        const bool null = indicator == SQL_NULL_DATA;
        // An integer or a date longer than its text buffer is nothing the program can use.
        const bool cut = indicator >= static_cast<SQLLEN>(sizeof binding.text);
        if (binding.callerLength != nullptr) {
            *binding.callerLength = indicator;
        }
        switch (binding.kind) {
        case ColumnKind::Int: {
            auto* value = static_cast<std::int32_t*>(binding.destination);
            if (null) {
                *value = binding.nullValue;
            } else if (cut || !readStoredInteger(binding.text, *value)) {
                *value = binding.nullValue;
                unreadableColumns_ |= std::uint64_t{1} << (column - 1);
            }
            break;
        }
        case ColumnKind::Date:
            *static_cast<DateValue*>(binding.destination) =
                null || cut ? DateValue{0, 0, 0} : readStoredDate(binding.text);
            break;
        case ColumnKind::Float:
            if (null) {
                *static_cast<float*>(binding.destination) = 0.0f;
            }
            break;
        case ColumnKind::Text: {
            auto* text = static_cast<char*>(binding.destination);
            if (null) {
                text[0] = '\0';
            } else if (binding.capacity > 0 && indicator >= binding.capacity) {
                dropCutLetter(text, std::strlen(text));
            }
            break;
        }
        case ColumnKind::Unbound:
            break;
        }
    }
}

const char* Statement::storedText(SQLUSMALLINT column) const {
    if (column == 0 || column >= kMaxBindings) {
        return nullptr;
    }
    const ColumnBinding& binding = columns_[column];
    const bool asText = binding.kind == ColumnKind::Int || binding.kind == ColumnKind::Date;
    return asText && columnIndicators_[column] != SQL_NULL_DATA ? binding.text : nullptr;
}

Statement::Fetch Statement::fetch() {
    // After a reported failure a fetch could only fail again as its consequence ("Function
    // sequence error" when the execute failed): skipped, not reported a second time.
    if (failed_) {
        return Fetch::Failed;
    }
    const SQLRETURN result = SQLFetch(handle_);
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) {
        deliverRow();
        return Fetch::Row;
    }
    if (result == SQL_NO_DATA) {
        return Fetch::NoRow;
    }
    if (!quiet_) {
        DoSQLError(handle_);
    }
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
    if (!quiet_) {
        DoSQLError(nullptr);
    }
    return false;
}

std::int64_t Statement::rowCount() {
    SQLLEN rows = 0;
    if (SQLRowCount(handle_, &rows) != SQL_SUCCESS) {
        return -1;
    }
    return rows;
}

namespace {

// Reads the whole of a stored number's text, blanks around it and a leading '+' allowed.
template <typename Number> bool readWholeNumber(const char* text, Number& read) {
    while (*text == ' ') {
        ++text;
    }
    const char* end = text + std::strlen(text);
    while (end > text && end[-1] == ' ') {
        --end;
    }
    if (*text == '+') {
        ++text;
    }
    const auto [stop, error] = std::from_chars(text, end, read);
    return error == std::errc() && stop == end && text != end;
}

} // namespace

bool readStoredInteger(const char* text, std::int32_t& value) {
    std::int32_t read = 0;
    if (!readWholeNumber(text, read)) {
        return false;
    }
    value = read;
    return true;
}

bool readStoredFloat(const char* text, float& value) {
    float read = 0.0f;
    if (!readWholeNumber(text, read) || !std::isfinite(read)) {
        return false;
    }
    value = read;
    return true;
}

namespace {

// Reads up to maxDigits decimal digits; false when there are none.
bool readDigits(const char*& text, int maxDigits, long& value) {
    value = 0;
    int digits = 0;
    while (digits < maxDigits && *text >= '0' && *text <= '9') {
        value = value * 10 + (*text - '0');
        ++text;
        ++digits;
    }
    return digits > 0 && !(*text >= '0' && *text <= '9');
}

bool isDateSeparator(char c) {
    return c == '-' || c == '/' || c == '.';
}

} // namespace

DateValue readStoredDate(const char* text) {
    constexpr DateValue kInvalid{0, 0, 0};
    while (*text == ' ') {
        ++text;
    }
    long year = 0;
    long month = 0;
    long day = 0;
    if (!readDigits(text, 5, year) || !isDateSeparator(*text++) || !readDigits(text, 2, month) ||
        !isDateSeparator(*text++) || !readDigits(text, 2, day)) {
        return kInvalid;
    }
    if (*text != '\0' && *text != ' ' && *text != 'T') {
        return kInvalid;
    }
    if (year > std::numeric_limits<std::int16_t>::max()) {
        return kInvalid;
    }
    return DateValue{static_cast<std::int16_t>(year), static_cast<std::uint16_t>(month),
                     static_cast<std::uint16_t>(day)};
}

std::uint32_t unreadableIndexNormCells(std::uint32_t columnBits, const SQLLEN (&lengths)[6],
                                       const char* percentile, float& perc) {
    std::uint32_t bad = columnBits;
    for (int i = 0; i < 6; ++i) {
        if (lengths[i] == SQL_NULL_DATA) {
            bad |= 1u << i;
        }
    }
    if (!readStoredFloat(percentile, perc)) {
        perc = 0.0f;
        bad |= 1u << 1;
    }
    return bad;
}
