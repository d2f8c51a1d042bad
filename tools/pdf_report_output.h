// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "report_command.h"

// --pdf FILE: the report of one occasion as the five printed sheets, through the print job's own
// code, in a PDF file on A4 paper readable by its owner only. Needs no display: when the process
// has no application object yet, one is made on Qt's offscreen platform.
std::unique_ptr<ReportOutput> makePdfReportOutput(const std::string& path, std::string& error);
