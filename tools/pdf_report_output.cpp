// SPDX-License-Identifier: Apache-2.0
#include "pdf_report_output.h"

#include "bitmap_resources.h"
#include "report_pdf.h"
#include "safe_file.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdlib>

namespace {

// The application object the sheets need for fonts and pictures, made once for the process.
void ensureGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "rivo-admin";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
        // Qt takes the C library's locale from the environment; numbers are written with a
        // decimal point whatever it is.
        std::setlocale(LC_NUMERIC, "C");
    }
    initBitmapResources();
}

class PdfReportOutput : public ReportOutput {
  public:
    explicit PdfReportOutput(std::string path) : path_(std::move(path)) {}

    bool write(const ScoredOccasion& occasion, std::string& error) override {
        if (written_) {
            error = "--pdf skriver en testpersons rapport per fil; ange --id N.";
            return false;
        }
        written_ = true;
        (void)occasion; // the sheets read the scored test occasion itself
        return writeReportPdf(path_, error);
    }

    bool finish(std::string&) override { return true; }

  private:
    std::string path_;
    bool written_ = false;
};

} // namespace

std::unique_ptr<ReportOutput> makePdfReportOutput(const std::string& path, std::string& error) {
    if (path == "-") {
        error = "--pdf skriver till en fil; standard ut går inte.";
        return nullptr;
    }
    // The file is made only after the access log's row: a target that may not be written is
    // refused before that.
    if (!outputTargetAllowed(path, error)) {
        return nullptr;
    }
    ensureGuiApplication();
    return std::make_unique<PdfReportOutput>(path);
}
