// SPDX-License-Identifier: Apache-2.0
#pragma once

// A small reader and writer of comma-separated text: fields separated by one character, a field
// in double quotes may hold the separator, line breaks and doubled quotes. Lines end with LF or
// CR LF. No database or window code.

#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
    int line = 0; // the line of the file on which the record starts, from 1
    std::vector<std::string> fields;
};

struct CsvProblem {
    int line = 0;
    std::string rule; // in Swedish, for the user
};

// The line of the first byte that is not part of well-formed UTF-8 (overlong forms, surrogates
// and code points above U+10FFFF included), or of the first NUL byte; 0 when the text is clean.
int firstNonUtf8Line(std::string_view text);

// Splits text into records. Lines that hold nothing at all are skipped. false at the first
// malformed quote, with where and why in problem.
bool parseCsv(std::string_view text, char separator, std::vector<CsvRecord>& records,
              CsvProblem& problem);

// The field as written into a file: in double quotes, with quotes doubled, when it holds the
// separator, a quote, a line break or blanks at either end; else as it is.
std::string csvField(std::string_view value, char separator);
