// SPDX-License-Identifier: Apache-2.0
#include "report_document.h"

#include "document_dc.h"
#include "recording_dc.h"
#include "report_pages.h"

namespace {

// The text margins of the report: those of the screen, and the wider ones of paper.
constexpr int kLeft = 50;
constexpr int kScreenRight = 600;
constexpr int kPaperRight = 750;

} // namespace

ReportDocument readReportDocument(Dc& measuring, int printing) {
    DocumentDc dc(measuring);
    ab_paint_sidor(dc, 0, kLeft, printing != 0 ? kPaperRight : kScreenRight, printing);
    return dc.takeDocument();
}

ReportDocument readReportDocument(int printing) {
    RecordingDc recording(printing != 0);
    return readReportDocument(recording, printing);
}
