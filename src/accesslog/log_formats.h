// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "access_log.h"

#include <string>

// The forms rivo-admin log writes a row in. Each line ends with its line break.

// One JSON object: seq, time, user, workstation, program, event, person (null when none), detail,
// hash, in that order. Control characters are escaped; a byte that is no part of a UTF-8 letter
// (only a hand-made row can hold one) becomes U+FFFD, so such a row's hash cannot be recomputed
// from the JSON.
std::string accessLogJsonLine(const AccessLogRow& row);

// CSV (RFC 4180, CRLF): the header with the JSON keys, and one row. A text cell that begins with
// = + - @, a tab or a carriage return is quoted with a single quote first, so that a spreadsheet
// shows it as text and never runs it as a formula.
std::string accessLogCsvHeader();
std::string accessLogCsvLine(const AccessLogRow& row);

// The Swedish table for a terminal: a heading and one line per row, columns padded by letters.
// Control characters, bytes that are no UTF-8 letter and the backslash itself are shown escaped
// (\n, \t, \x1b, \\), so that a row is one line and cannot forge another or steer the terminal.
std::string accessLogTableHeader();
std::string accessLogTableLine(const AccessLogRow& row);
