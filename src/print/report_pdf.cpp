#include "report_pdf.h"

#include "qprinter_sheets.h"
#include "report_sheets.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The report holds personal data: the file is made its owner's alone before anything is
// written into it, whether it is new or replaces another.
bool createPrivateFile(const std::string& path, std::string& error) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        error = path + " är ingen vanlig fil.";
        return false;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "Filen " + path + " kunde inte skapas: " + std::strerror(errno);
        return false;
    }
    const bool privateMode = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    if (!privateMode) {
        error = "Behörigheten för " + path + " kunde inte begränsas.";
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

} // namespace

bool writeReportPdf(const std::string& path, std::string& error) {
    if (!createPrivateFile(path, error)) {
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setCreator("RIVO-IV");

    QPrinterSheets sheets(printer);
    if (printReportSheets(sheets) != SheetsOutcome::Printed) {
        ::unlink(path.c_str());
        error = "Rapporten kunde inte skrivas till " + path + ".";
        return false;
    }
    return true;
}
