#pragma once

#include <string>

// Writes the five report sheets of the current test occasion, exactly as printed, into a PDF
// file on A4 portrait paper, through the safe writer (safe_file.h): readable by its owner only
// (mode 0600), and in place of an earlier file only when complete. Needs a QGuiApplication; the
// offscreen platform will do. A path that names a link, a folder, a device or a pipe is refused
// untouched. On failure an earlier file at path is left as it was and error says why (in Swedish,
// for the user).
bool writeReportPdf(const std::string& path, std::string& error);
