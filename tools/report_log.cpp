// SPDX-License-Identifier: Apache-2.0
#include "report_log.h"

#include "access_log.h"
#include "db.h"
#include "message_box.h"
#include "pdf_report_output.h"
#include "transaction.h"

#include <vector>

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

bool logReportOutputsForEveryone(const ReportRequest& request) {
    std::vector<int> ids;
    const DbResult listed = DoListPD(9, 0, [&ids](const PersonListRow& row) {
        if (ids.empty() || ids.back() != row.ID) {
            ids.push_back(row.ID);
        }
    });
    Transaction transaction;
    bool logged = listed == DB_DONE && transaction.started();
    for (std::size_t i = 0; logged && i < ids.size(); ++i) {
        for (const ReportRequest::Output& output : request.outputs) {
            const AccessEvent event = output.make == makePdfReportOutput ? AccessEvent::PdfWritten
                                                                         : AccessEvent::JsonWritten;
            if (DoAppendAccessLog(event, ids[i],
                                  output.path == "-" ? "standard ut" : output.path) != DB_DONE) {
                logged = false;
                break;
            }
        }
    }
    if (logged && transaction.commit()) {
        return true;
    }
    showMessage(kAccessLogRefusedMessage);
    return false;
}
