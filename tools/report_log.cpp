// SPDX-License-Identifier: Apache-2.0
#include "report_log.h"

#include "access_log.h"
#include "pdf_report_output.h"

bool logReportOutputs(const ReportRequest& request, int id) {
    for (const ReportRequest::Output& output : request.outputs) {
        const AccessEvent event =
            output.make == makePdfReportOutput ? AccessEvent::PdfWritten : AccessEvent::JsonWritten;
        if (!logBeforeReading(event, id, output.path == "-" ? "standard ut" : output.path)) {
            return false;
        }
    }
    return true;
}
