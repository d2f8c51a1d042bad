// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "access_log.h"

#include <string>

// The forms rivo-admin log writes a row in. Each line ends with its line break.

// One JSON object: seq, time, user, workstation, program, event, person (null when none), detail,
// hash, in that order.
std::string accessLogJsonLine(const AccessLogRow& row);

// CSV (RFC 4180, CRLF): the header with the JSON keys, and one row.
std::string accessLogCsvHeader();
std::string accessLogCsvLine(const AccessLogRow& row);

// The Swedish table for a terminal: a heading and one line per row, columns padded by letters.
std::string accessLogTableHeader();
std::string accessLogTableLine(const AccessLogRow& row);
