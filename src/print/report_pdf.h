#pragma once

#include <string>

// Writes the five report sheets of the current test occasion, exactly as printed, into a PDF
// file on A4 portrait paper, readable by its owner only (mode 0600). Needs a QGuiApplication;
// the offscreen platform will do. A path that names something other than a regular file (a
// folder, a device, a pipe) is refused untouched. On failure nothing is left at path and error
// says why (in Swedish, for the user).
bool writeReportPdf(const std::string& path, std::string& error);
