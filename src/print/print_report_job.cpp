// SPDX-License-Identifier: Apache-2.0
#include "print_report_job.h"

#include "access_log.h"
#include "cancel_print_dialog.h"
#include "message_box.h"
#include "print_dialog.h"
#include "qprinter_sheets.h"
#include "qt_dialogs.h"
#include "report_pages.h"
#include "report_sheets.h"
#include "safe_file.h"
#include "sheet_order.h"
#include "test_occasion.h"

#include <QApplication>
#include <QPointer>
#include <QPrinter>

#include <string>
#include <vector>

namespace {

// The state of the one job: set when the user cancels in the cancel dialog.
bool printAborted = false;
bool jobRunning = false;

// Handles waiting events (the results screen's among them) after each page is laid out; false
// once the user has cancelled.
bool printAbortCheck() {
    if (!printAborted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return !printAborted;
}

// What the printer does not do itself is done by the order of the sheets: Qt's PDF writer makes
// neither copies nor reversed order, a CUPS queue makes both from the job's options.
std::vector<int> sheetOrderFor(const QPrinter& printer) {
    const bool toPdf = printer.outputFormat() == QPrinter::PdfFormat;
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    return reportSheetOrder(copies, printer.collateCopies(),
                            toPdf && printer.pageOrder() == QPrinter::LastPageFirst);
}

class RunningJob {
  public:
    RunningJob() { jobRunning = true; }
    ~RunningJob() { jobRunning = false; }
    RunningJob(const RunningJob&) = delete;
    RunningJob& operator=(const RunningJob&) = delete;
};

} // namespace

void printReportJob() {
    if (jobRunning) {
        return;
    }
    const RunningJob running;

    // Before the dialog, and only when the chosen subgroup has not been reported already.
    reportAgeBandProblemOnce();

    QPrinter printer(QPrinter::HighResolution);
    printer.setCopyCount(1);
    // The job's name, and the file name that printing to a file proposes in the working folder.
    // No personal data: a print queue may be seen by others.
    printer.setDocName(QStringLiteral("RIVO-IV rapport %1").arg(testOccasion().person.ID));
    if (!askPrintSettings(printer, QApplication::activeWindow())) {
        return;
    }
    // The report is always printed whole.
    printer.setPrintRange(QPrinter::AllPages);

    // A PDF file holds health data: it is written where only its owner can read it and takes the
    // chosen name only when the job is complete.
    SafeFile pdfFile;
    const bool toFile =
        printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    if (toFile) {
        std::string error;
        if (!pdfFile.open(printer.outputFileName().toStdString(), error)) {
            showMessage(std::string(kPrintFailedMessage) + "\n" + error);
            return;
        }
        printer.setOutputFileName(QString::fromStdString(pdfFile.temporaryPath()));
    }
    // A file that may not be written (the register, a link) was refused above, before the access
    // log recorded a print.
    if (!logBeforeReading(AccessEvent::Printed, testOccasion().person.ID,
                          printer.printerName().toStdString())) {
        return;
    }

    printAborted = false;
    QPointer<CancelPrintDialog> cancelDialog =
        new CancelPrintDialog(mainWindowForDialogs(), [] { printAborted = true; });
    cancelDialog->show();

    SheetsOutcome outcome = SheetsOutcome::Failed;
    {
        QPrinterSheets sheets(printer, printAbortCheck);
        outcome = printReportSheets(sheets, sheetOrderFor(printer));
    }
    // After a cancel the dialog has already gone (or is about to).
    delete cancelDialog.data();
    if (outcome == SheetsOutcome::Failed) {
        showMessage(kPrintFailedMessage);
    }
    if (toFile) {
        std::string error;
        if (outcome != SheetsOutcome::Printed) {
            pdfFile.abandon();
        } else if (!pdfFile.commit(error)) {
            showMessage(error);
        }
    }
}
