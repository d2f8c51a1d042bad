#include "json_report_output.h"

#include "report_json.h"

#include <QJsonDocument>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

class JsonReportOutput : public ReportOutput {
  public:
    JsonReportOutput(std::FILE* file, bool owned, std::string path)
        : file_(file), owned_(owned), path_(std::move(path)) {}
    ~JsonReportOutput() override {
        if (owned_ && file_ != nullptr) {
            std::fclose(file_);
        }
    }
    JsonReportOutput(const JsonReportOutput&) = delete;
    JsonReportOutput& operator=(const JsonReportOutput&) = delete;

    bool write(const ScoredOccasion& occasion, std::string& error) override {
        const QByteArray line =
            QJsonDocument(occasionReportJson(occasion.messages)).toJson(QJsonDocument::Compact);
        if (std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), file_) !=
                static_cast<std::size_t>(line.size()) ||
            std::fputc('\n', file_) == EOF) {
            error = failure();
            return false;
        }
        return true;
    }

    bool finish(std::string& error) override {
        const bool flushed = std::fflush(file_) == 0;
        const bool closed = !owned_ || std::fclose(file_) == 0;
        file_ = owned_ ? nullptr : file_;
        if (!flushed || !closed) {
            error = failure();
            return false;
        }
        return true;
    }

  private:
    std::string failure() const {
        return "Fel vid skrivning av " + path_ + ": " + std::strerror(errno);
    }

    std::FILE* file_;
    bool owned_;
    std::string path_;
};

} // namespace

std::unique_ptr<ReportOutput> makeJsonReportOutput(const std::string& path, std::string& error) {
    if (path == "-") {
        return std::make_unique<JsonReportOutput>(stdout, false, "standard ut");
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = path + " kan inte skapas: " + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<JsonReportOutput>(file, true, path);
}
