#include "report_pdf.h"

#include "qprinter_sheets.h"
#include "report_sheets.h"
#include "safe_file.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

namespace {

// Qt's PDF engine does not report a failed write (a full disk): a complete file ends with the
// end-of-file marker, a cut-off one does not.
bool endsWithEofMarker(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    char tail[16] = {};
    ssize_t read = -1;
    if (::fstat(fd, &info) == 0 && info.st_size >= static_cast<off_t>(sizeof tail)) {
        read = ::pread(fd, tail, sizeof tail, info.st_size - static_cast<off_t>(sizeof tail));
    }
    ::close(fd);
    return read == static_cast<ssize_t>(sizeof tail) &&
           std::string_view(tail, sizeof tail).find("%%EOF") != std::string_view::npos;
}

} // namespace

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
    if (!printed || !endsWithEofMarker(file.temporaryPath())) {
        error = "Rapporten kunde inte skrivas till " + path + ".";
        return false;
    }
    return file.commit(error);
}
