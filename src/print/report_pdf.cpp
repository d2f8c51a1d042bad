#include "report_pdf.h"

#include "qprinter_sheets.h"
#include "report_sheets.h"
#include "safe_file.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

bool writeReportPdf(const std::string& path, std::string& error) {
    SafeFile file;
    if (!file.open(path, error)) {
        return false;
    }
    bool printed = false;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file.temporaryPath()));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setCreator("RIVO-IV");
        QPrinterSheets sheets(printer);
        printed = printReportSheets(sheets) == SheetsOutcome::Printed;
    }
    // A failed write (a full disk) fails the print, so a cut-off file is never committed.
    if (!printed) {
        error = "Rapporten kunde inte skrivas till " + path + ".";
        return false;
    }
    return file.commit(error);
}
