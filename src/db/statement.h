// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "date_value.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <functional>

// One statement on the program's connection, following the life cycle every operation uses:
// allocate, run, bind and fetch, commit, free. Every call that fails (anything but SQL_SUCCESS)
// is reported at once through DoSQLError and returns false. One failure is one report: after it,
// the statement's further binds, executes and fetches fail without a word.
class Statement {
  public:
    // Quiet: a failure is not reported, only answered false; for a read that has a way round it.
    enum class Failures { Reported, Quiet };
    explicit Statement(Failures failures = Failures::Reported);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    SQLHSTMT handle() const { return handle_; }

    // On a server, outside a transaction, the connection's deferred statements travel in front
    // of this one in the same round trip (odbc_connection.h); when that string fails they are
    // sent alone and the statement again, so that each failure is reported as its own.
    bool executeDirect(const char* sql);
    bool prepare(const char* sql);
    // Moves to the result of the next statement of a string that held several ("A; B"): the
    // columns are unbound, to be bound for the new rows. false when there is none or on failure.
    bool nextResult();
    bool execute();

    // Input parameters, numbered from 1. Texts are passed NUL-terminated.
    bool bindInt(SQLUSMALLINT marker, std::int32_t* value);
    bool bindText(SQLUSMALLINT marker, const char* text);
    bool bindDate(SQLUSMALLINT marker, DateValue* date);
    bool bindFloat(SQLUSMALLINT marker, float* value);

    // Result columns, numbered from 1. Each fetched row is read through the columns' length
    // indicators: a NULL integer becomes nullValue, a NULL float 0, a NULL text empty, and a NULL
    // or unreadable date the invalid date {0, 0, 0}. Integers and dates are fetched as text and
    // read here, so that a stored value that does not fit is never wrapped: such an integer also
    // becomes nullValue and its column is counted in unreadableColumns(). A caller that must know
    // about NULL passes its own length indicator, which then reads SQL_NULL_DATA. Nothing is
    // written when no row was fetched.
    bool bindColumnInt(SQLUSMALLINT column, std::int32_t* value, SQLLEN* length = nullptr,
                       std::int32_t nullValue = 0);
    bool bindColumnFloat(SQLUSMALLINT column, float* value);
    bool bindColumnText(SQLUSMALLINT column, char* text, SQLLEN capacity, SQLLEN* length = nullptr);
    bool bindColumnDate(SQLUSMALLINT column, DateValue* date);

    enum class Fetch { Row, NoRow, Failed };
    // A row delivered with a warning counts as a row; a failure is reported.
    Fetch fetch();

    // Fetches every row, calling onRow after each; 1 when the rows ran out, 0 when a fetch failed
    // (reported). Used by the list queries.
    int fetchEach(const std::function<void()>& onRow);

    // The integer columns of the last fetched row whose stored value could not be read as a
    // 32-bit integer (a text, a fraction, a number out of range): bit n - 1 for column n.
    std::uint64_t unreadableColumns() const { return unreadableColumns_; }

    // The text the driver gave for an integer or date column of the last fetched row, as stored
    // (cut to the buffer); null when it was NULL or the column is bound otherwise. It names a
    // value that could not be read, such as an ID too large for 32 bits.
    const char* storedText(SQLUSMALLINT column) const;

    // Rows the last UPDATE, INSERT or DELETE touched; -1 when the driver cannot tell.
    std::int64_t rowCount();

    void closeCursor();
    // Commits on the connection; the program commits after every statement, reads included. While
    // a Transaction is open the commit waits for the transaction's own.
    bool commit();

  private:
    bool check(SQLRETURN result);
    // The deferred statements and this one in one string; false, nothing reported and nothing
    // stored, when that string failed.
    bool executeWithDeferred(const char* sql, SQLRETURN& result);
    void unbindColumns();

    // How a result column reaches its destination.
    enum class ColumnKind : unsigned char { Unbound, Int, Float, Text, Date };
    static constexpr int kColumnTextSize = 40; // an integer or a date read as text
    struct ColumnBinding {
        ColumnKind kind = ColumnKind::Unbound;
        void* destination = nullptr;
        SQLLEN capacity = 0;
        SQLLEN* callerLength = nullptr;
        std::int32_t nullValue = 0;
        char text[kColumnTextSize] = {};
    };
    bool bindColumn(SQLUSMALLINT column, ColumnKind kind, void* destination, SQLLEN capacity,
                    SQLLEN* callerLength, std::int32_t nullValue);
    // Moves the fetched row from the drivers' buffers into the destinations.
    void deliverRow();

    // Length indicators by parameter marker and by result column: binding the same number again
    // reuses its indicator.
    static constexpr int kMaxBindings = 64;
    SQLLEN* parameterIndicator(SQLUSMALLINT marker);
    SQLLEN* columnIndicator(SQLUSMALLINT column);

    SQLHSTMT handle_ = SQL_NULL_HSTMT;
    bool quiet_ = false;
    bool failed_ = false;
    SQLLEN parameterIndicators_[kMaxBindings] = {};
    SQLLEN columnIndicators_[kMaxBindings] = {};
    SQLLEN overflowIndicator_ = 0;
    ColumnBinding columns_[kMaxBindings];
    std::uint64_t unreadableColumns_ = 0;
};

// Reads a stored integer given as text: optional blanks, an optional sign and decimal digits,
// within the 32-bit range. False for anything else.
bool readStoredInteger(const char* text, std::int32_t& value);

// Reads a stored real number given as text: optional blanks and a finite decimal number. False
// for anything else, also for an empty text.
bool readStoredFloat(const char* text, float& value);

// The cells of an INDEX_NORMER row (IK, PERC, KONF_LOW90, KONF_HIGH90, KONF_LOW95, KONF_HIGH95)
// that cannot be read, one bit each: those the driver could not convert (columnBits), the NULLs
// (lengths), and a percentile read as text that is no number, which is then set to 0.
std::uint32_t unreadableIndexNormCells(std::uint32_t columnBits, const SQLLEN (&lengths)[6],
                                       const char* percentile, float& perc);

// Reads a stored date given as text, year-month-day separated by '-', '/' or '.', optionally
// followed by a time. A date that cannot be read, or whose year does not fit, gives {0, 0, 0};
// a readable date that is not a calendar date (month 13) is kept as stored.
DateValue readStoredDate(const char* text);

// Column size declared for text parameters. Text columns hold 49 characters; the value is in
// bytes of UTF-8, where a Swedish letter takes two.
inline constexpr SQLULEN kTextParameterSize = 200;
