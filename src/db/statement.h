#pragma once

#include "date_value.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <functional>

// One statement on the program's connection, following the life cycle every operation uses:
// allocate, run, bind and fetch, commit, free. Every call that fails (anything but SQL_SUCCESS)
// is reported at once through DoSQLError and returns false.
class Statement {
  public:
    Statement();
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    SQLHSTMT handle() const { return handle_; }

    bool executeDirect(const char* sql);
    bool prepare(const char* sql);
    bool execute();

    // Input parameters, numbered from 1. Texts are passed NUL-terminated.
    bool bindInt(SQLUSMALLINT marker, std::int32_t* value);
    bool bindText(SQLUSMALLINT marker, const char* text);
    bool bindDate(SQLUSMALLINT marker, DateValue* date);
    bool bindFloat(SQLUSMALLINT marker, float* value);

    // Result columns, numbered from 1. A NULL value leaves the destination as it was; a caller that
    // must know passes its own length indicator, which then reads SQL_NULL_DATA.
    bool bindColumnInt(SQLUSMALLINT column, std::int32_t* value, SQLLEN* length = nullptr);
    bool bindColumnFloat(SQLUSMALLINT column, float* value);
    bool bindColumnText(SQLUSMALLINT column, char* text, SQLLEN capacity, SQLLEN* length = nullptr);
    bool bindColumnDate(SQLUSMALLINT column, DateValue* date);

    enum class Fetch { Row, NoRow, Failed };
    // A row delivered with a warning counts as a row; a failure is reported.
    Fetch fetch();

    // Fetches every row, calling onRow after each; 1 when the rows ran out, 0 when a fetch failed
    // (reported). Used by the list queries.
    int fetchEach(const std::function<void()>& onRow);

    // Rows the last UPDATE, INSERT or DELETE touched; -1 when the driver cannot tell.
    std::int64_t rowCount();

    void closeCursor();
    // Commits on the connection; the program commits after every statement, reads included. While
    // a Transaction is open the commit waits for the transaction's own.
    bool commit();

  private:
    bool check(SQLRETURN result);

    // Length indicators by parameter marker and by result column: binding the same number again
    // reuses its indicator.
    static constexpr int kMaxBindings = 64;
    SQLLEN* parameterIndicator(SQLUSMALLINT marker);
    SQLLEN* columnIndicator(SQLUSMALLINT column);

    SQLHSTMT handle_ = SQL_NULL_HSTMT;
    SQLLEN parameterIndicators_[kMaxBindings] = {};
    SQLLEN columnIndicators_[kMaxBindings] = {};
    SQLLEN overflowIndicator_ = 0;
};

// Column size declared for text parameters. Text columns hold 49 characters; the value is in
// bytes of UTF-8, where a Swedish letter takes two.
inline constexpr SQLULEN kTextParameterSize = 200;
