// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "report_document.h"

#include <string>

// The report as plain text for the clipboard, to be pasted into a record or a written statement:
// each heading, paragraph and note on a line of its own, each table as its caption and one line
// per row with the cells separated by tabs (so that a word processor or a spreadsheet makes a
// table of it), each graph as its title and one "name<TAB>value" line per value. Blocks are
// separated by an empty line; lines end with "\n".
std::string reportPlainText(const ReportDocument& document);
