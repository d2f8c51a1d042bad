// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "report_command.h"

// --html FILE: the report of one occasion as one accessible HTML document, written from the
// report document read off the paper layout's painting (the same five pages as --pdf), through
// the one safe writer, readable by its owner only.
std::unique_ptr<ReportOutput> makeHtmlReportOutput(const std::string& path, std::string& error);
