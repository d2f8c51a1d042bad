// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "report_document.h"

#include <string>
#include <string_view>
#include <vector>

// The report as one self-contained HTML document that a screen reader and a browser's print both
// read well: lang="sv", the document's title, one section per page with a page break between
// them on A4, headings in an order without gaps, tables with their caption and header cells
// (th scope="col" or "row"), each graph as a table of its values and an inline SVG picture whose
// text alternative lists them, and the notes as text. No script, one inline style sheet; every
// text is escaped.
// `problems` are the messages found for the occasion (a subtest without norms, an age outside the
// norms): every output shows them, here in a list above the first page.
std::string reportHtml(const ReportDocument& document,
                       const std::vector<std::string>& problems = {});

// Text made safe inside an HTML element or a quoted attribute.
std::string escapeHtml(std::string_view text);
