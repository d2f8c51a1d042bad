#include "print_report_job.h"

#include "access_log.h"
#include "cancel_print_dialog.h"
#include "message_box.h"
#include "print_dialog.h"
#include "qprinter_sheets.h"
#include "qt_dialogs.h"
#include "report_pages.h"
#include "report_sheets.h"
#include "test_occasion.h"

#include <QApplication>
#include <QPointer>
#include <QPrinter>

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

    QPrinter printer(QPrinter::HighResolution);
    printer.setCopyCount(1);
    if (!askPrintSettings(printer, QApplication::activeWindow())) {
        return;
    }
    if (!logBeforeReading(AccessEvent::Printed, testOccasion().person.ID,
                          printer.printerName().toStdString())) {
        return;
    }
    reportAgeBandProblem();

    printAborted = false;
    QPointer<CancelPrintDialog> cancelDialog =
        new CancelPrintDialog(mainWindowForDialogs(), [] { printAborted = true; });
    cancelDialog->show();

    SheetsOutcome outcome = SheetsOutcome::Failed;
    {
        QPrinterSheets sheets(printer, printAbortCheck);
        outcome = printReportSheets(sheets);
    }
    // After a cancel the dialog has already gone (or is about to).
    delete cancelDialog.data();
    if (outcome == SheetsOutcome::Failed) {
        showMessage(kPrintFailedMessage);
    }
}
