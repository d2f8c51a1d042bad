#include "export_writer.h"

#include "age_band.h"
#include "db.h"
#include "export_line.h"
#include "message_box.h"
#include "scaled_scores.h"
#include "text_table.h"
#include "windows1252.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

constexpr unsigned short kNoSelectionText = 38;

// The file error has no owner window: the user may answer it and choose another name.
void showWriteError() {
    MessageRequest request;
    request.text = kExportWriteError;
    request.caption = kProgramCaption;
    request.withoutOwner = true;
    showMessageBox(request);
}

// The export file, written as Windows-1252 bytes with CR LF line ends.
class ExportFile {
  public:
    bool open(const std::string& path) {
        // An existing file of that name is replaced; anything else (a device, a folder) is
        // never deleted.
        std::error_code error;
        const auto status = std::filesystem::symlink_status(path, error);
        if (std::filesystem::is_regular_file(status) || std::filesystem::is_symlink(status)) {
            std::filesystem::remove(path, error);
        }
        // The file holds personal data: readable by its owner only.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0) {
            return false;
        }
        file_ = fdopen(fd, "wb");
        if (file_ == nullptr) {
            ::close(fd);
        }
        return file_ != nullptr;
    }
    void writeLine(const std::string& utf8) {
        const std::string bytes = toWindows1252(utf8) + "\r\n";
        if (ok_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
            ok_ = false;
        }
    }
    bool close() {
        if (file_ != nullptr && std::fclose(file_) != 0) {
            ok_ = false;
        }
        file_ = nullptr;
        return ok_;
    }
    ~ExportFile() { close(); }

  private:
    std::FILE* file_ = nullptr;
    bool ok_ = true;
};

} // namespace

ExportResult writeExport(const std::string& path, const ExportSelection& selection,
                         TestOccasion& occasion, const std::function<void(int)>& progress) {
    CachedNormSource norms;
    return writeExport(path, selection, occasion, norms, progress);
}

ExportResult writeExport(const std::string& path, const ExportSelection& selection,
                         TestOccasion& occasion, NormSource& norms,
                         const std::function<void(int)>& progress) {
    ExportFile file;
    if (!file.open(path)) {
        showWriteError();
        return ExportResult::CannotOpen;
    }
    if (!selection.any()) {
        showMessage(text(kNoSelectionText));
        return ExportResult::NoSelection;
    }
    file.writeLine(exportHeaderLine(selection));
    const bool scores = selection.groups[EXPORT_SCALED] || selection.groups[EXPORT_INDEX];
    int written = 0;
    const int failuresBefore = reportedDatabaseFailures();
    DoSelectExport(occasion, [&] {
        if (scores) {
            selectAgeBand(occasion);
            computeScaledScores(occasion, norms);
        }
        file.writeLine(exportPersonLine(occasion, selection));
        ++written;
        if (progress) {
            progress(written);
        }
    });
    if (!file.close()) {
        showWriteError();
        return ExportResult::WriteFailed;
    }
    return reportedDatabaseFailures() == failuresBefore ? ExportResult::Written
                                                        : ExportResult::ReadFailed;
}
