// SPDX-License-Identifier: Apache-2.0
#include "html_report_output.h"

#include "report_document.h"
#include "report_html.h"
#include "safe_file.h"

namespace {

class HtmlReportOutput : public ReportOutput {
  public:
    explicit HtmlReportOutput(std::string path) : path_(std::move(path)) {}

    bool write(const ScoredOccasion& occasion, std::string& error) override {
        if (written_) {
            error = "--html skriver en testpersons rapport per fil; ange --id N.";
            return false;
        }
        written_ = true;
        // The pages read the scored test occasion itself; the messages found for it stand
        // above them, as in every output.
        return writeFileSafely(path_, reportHtml(readReportDocument(1), occasion.messages), error);
    }

    bool finish(std::string&) override { return true; }

  private:
    std::string path_;
    bool written_ = false;
};

} // namespace

std::unique_ptr<ReportOutput> makeHtmlReportOutput(const std::string& path, std::string& error) {
    if (path == "-") {
        error = "--html skriver till en fil; standard ut går inte.";
        return nullptr;
    }
    // The file is made only after the access log's row: a target that may not be written is
    // refused before that.
    if (!outputTargetAllowed(path, error)) {
        return nullptr;
    }
    return std::make_unique<HtmlReportOutput>(path);
}
