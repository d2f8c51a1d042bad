// SPDX-License-Identifier: Apache-2.0
#include "report_log.h"

#include "access_log.h"
#include "db.h"
#include "html_report_output.h"
#include "message_box.h"
#include "pdf_report_output.h"
#include "transaction.h"

#include <vector>

namespace {

// The access-log event of an output: what kind of file the person's data went into.
AccessEvent eventOf(const ReportRequest::Output& output) {
    if (output.make == makePdfReportOutput) {
        return AccessEvent::PdfWritten;
    }
    if (output.make == makeHtmlReportOutput) {
        return AccessEvent::HtmlWritten;
    }
    return AccessEvent::JsonWritten;
}

} // namespace

bool logReportOutputs(const ReportRequest& request, int id) {
    for (const ReportRequest::Output& output : request.outputs) {
        if (!logBeforeReading(eventOf(output), id,
                              output.path == "-" ? "standard ut" : output.path)) {
            return false;
        }
    }
    return true;
}

bool logReportOutputsForEveryone(const ReportRequest& request) {
    std::vector<int> ids;
    std::vector<std::string> unreadable;
    const DbResult listed = DoListPD(9, 0, [&](const PersonListRow& row) {
        if (!row.idRead) {
            unreadable.push_back(
                "Testpersonen " + std::string(row.NAMN) + " (" + storedIdName(row.storedId) +
                "): " + unreadableIdMessage(row.storedId, "ingen rapport har skrivits"));
        } else if (ids.empty() || ids.back() != row.ID) {
            ids.push_back(row.ID);
        }
    });
    // A report for everyone that cannot hold everyone is not begun: no row is logged for a
    // person whose ID cannot be read, nor for another person in its place.
    if (!unreadable.empty()) {
        for (const std::string& message : unreadable) {
            showMessage(message);
        }
        return false;
    }
    Transaction transaction;
    bool logged = listed == DB_DONE && transaction.started();
    for (std::size_t i = 0; logged && i < ids.size(); ++i) {
        for (const ReportRequest::Output& output : request.outputs) {
            if (DoAppendAccessLog(eventOf(output), ids[i],
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
