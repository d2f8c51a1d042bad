// SPDX-License-Identifier: Apache-2.0
#pragma once

// One statement whose failure is kept as text instead of being shown: for checks on a database
// opened on its own, whose problems are reported by the caller. Internal to the database layer.

#include "odbc_connection.h"

#include <sql.h>
#include <sqlext.h>

#include <string>

class QuietStatement {
  public:
    QuietStatement();
    ~QuietStatement();
    QuietStatement(const QuietStatement&) = delete;
    QuietStatement& operator=(const QuietStatement&) = delete;

    bool run(const std::string& sql);

    // Moves to the next row; false when the rows ran out or on failure (then message() is set).
    bool next();
    // A column of the current row as text (empty for NULL), counted from 1.
    std::string text(SQLUSMALLINT column);

    // The first column of the next row; false when the rows ran out or on failure.
    bool nextText(std::string& value);

    const std::string& message() const { return message_; }
    SQLINTEGER nativeError() const { return nativeError_; }

  private:
    void keepDiagnostic();

    SQLHSTMT handle_ = SQL_NULL_HSTMT;
    std::string message_;
    SQLINTEGER nativeError_ = 0;
};

// The first column of the first row of a query; false with the driver's message, or with
// whenNoRow when there is no row.
bool quietFirstValue(const std::string& sql, std::string& value, const std::string& whenNoRow,
                     std::string& problem);
