// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "report_document.h"

class QMimeData;

// The report as the clipboard gets it: the HTML document (text/html) for a word processor or a
// record that takes formatted text, and the plain text with tab-separated tables (text/plain).
QMimeData* reportMimeData(const ReportDocument& document);

// Copies the report of the open occasion, as the results screen shows it, to the clipboard. The
// copy takes the person's data out of the program, so it is logged first as report-copied, like
// a print or a PDF; when the row cannot be written the refusal has been shown, the clipboard is
// left as it was, and the answer is false.
bool copyReportToClipboard();
