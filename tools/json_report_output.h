#pragma once

#include "report_command.h"

// --json FILE: one JSON object per occasion and line (JSON Lines), UTF-8, "\n" after each.
std::unique_ptr<ReportOutput> makeJsonReportOutput(const std::string& path, std::string& error);
