// SPDX-License-Identifier: Apache-2.0
#include "report_copy.h"

#include "access_log.h"
#include "report_html.h"
#include "report_plain_text.h"
#include "test_occasion.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QMimeData* reportMimeData(const ReportDocument& document) {
    auto* data = new QMimeData;
    data->setHtml(QString::fromStdString(reportHtml(document)));
    data->setText(QString::fromStdString(reportPlainText(document)));
    return data;
}

bool copyReportToClipboard() {
    if (!logBeforeReading(AccessEvent::ReportCopied, testOccasion().person.ID, "urklipp")) {
        return false;
    }
    QGuiApplication::clipboard()->setMimeData(reportMimeData(readReportDocument(0)));
    return true;
}
