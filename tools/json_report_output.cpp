// SPDX-License-Identifier: Apache-2.0
#include "json_report_output.h"

#include "report_json.h"
#include "safe_file.h"
#include "system_error_text.h"

#include <QJsonDocument>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// JSON Lines to standard output as they come.
class StandardOutputJson : public ReportOutput {
  public:
    bool write(const ScoredOccasion& occasion, std::string& error) override {
        const QByteArray line = jsonLine(occasion);
        if (std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout) !=
            static_cast<std::size_t>(line.size())) {
            error = failure();
            return false;
        }
        return true;
    }

    bool finish(std::string& error) override {
        if (std::fflush(stdout) != 0) {
            error = failure();
            return false;
        }
        return true;
    }

    static QByteArray jsonLine(const ScoredOccasion& occasion) {
        return QJsonDocument(occasionReportJson(occasion.messages)).toJson(QJsonDocument::Compact) +
               '\n';
    }

  private:
    static std::string failure() {
        return std::string("Fel vid skrivning till standard ut: ") + systemErrorText(errno);
    }
};

// JSON Lines to a file through the safe writer: the file appears, complete, at finish; a run that
// fails or is killed before leaves an earlier file of that name as it was.
class FileJson : public ReportOutput {
  public:
    bool open(const std::string& path, std::string& error) { return file_.open(path, error); }

    bool write(const ScoredOccasion& occasion, std::string& error) override {
        // A failed write (a full disk) is told by commit, naming the file.
        if (!file_.write(StandardOutputJson::jsonLine(occasion).toStdString())) {
            return file_.commit(error);
        }
        return true;
    }

    bool finish(std::string& error) override { return file_.commit(error); }

  private:
    SafeFile file_;
};

} // namespace

std::unique_ptr<ReportOutput> makeJsonReportOutput(const std::string& path, std::string& error) {
    if (path == "-") {
        return std::make_unique<StandardOutputJson>();
    }
    auto output = std::make_unique<FileJson>();
    if (!output->open(path, error)) {
        return nullptr;
    }
    return output;
}
