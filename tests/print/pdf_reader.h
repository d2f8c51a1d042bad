// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QImage>

#include <string>

// Reading a PDF back with the poppler tools, as a person or another program would see it.

// The value of a pdfinfo field ("Pages", "Page size"), empty when there is none.
std::string pdfInfoField(const std::string& path, const std::string& field);
int pdfPageCount(const std::string& path);
// The text of one page (1-based); with layout, table rows stay on one line each.
std::string pdfPageText(const std::string& path, int page, bool layout = false);
// One page rendered at the given resolution.
QImage pdfPageImage(const std::string& path, int page, int dpi);
