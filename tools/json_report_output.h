#pragma once

#include "report_command.h"

// --json FILE: one JSON object per occasion and line (JSON Lines), UTF-8, "\n" after each. FILE
// "-" is standard output; any other FILE is written by the safe writer (safe_file.h) and appears
// only when every line is in it.
std::unique_ptr<ReportOutput> makeJsonReportOutput(const std::string& path, std::string& error);
