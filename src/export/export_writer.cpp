// SPDX-License-Identifier: Apache-2.0
#include "export_writer.h"

#include "access_log.h"
#include "age_band.h"
#include "broken_norm_rules.h"
#include "db.h"
#include "export_line.h"
#include "export_log_detail.h"
#include "memory_norm_source.h"
#include "message_box.h"
#include "safe_file.h"
#include "scaled_scores.h"
#include "stored_values.h"
#include "test_age.h"
#include "text_table.h"
#include "transaction.h"
#include "windows1252.h"

#include <vector>

namespace {

constexpr unsigned short kNoSelectionText = 38;

// The file error has no owner window: the user may answer it and choose another name. The
// writer's own reason, naming the file, follows the program's message.
void showWriteError(const std::string& reason) {
    MessageRequest request;
    request.text = reason.empty() ? std::string(kExportWriteError)
                                  : std::string(kExportWriteError) + "\n" + reason;
    request.caption = kProgramCaption;
    request.withoutOwner = true;
    showMessageBox(request);
}

// The export file, written as Windows-1252 bytes with CR LF line ends through the safe writer:
// it replaces an earlier file of that name only when complete.
class ExportFile {
  public:
    bool open(const std::string& path, std::string& error) { return file_.open(path, error); }
    void writeLine(const std::string& utf8) { file_.write(toWindows1252(utf8) + "\r\n"); }
    bool commit(std::string& error) { return file_.commit(error); }
    void abandon() { file_.abandon(); }

  private:
    SafeFile file_;
};

bool unreadable(std::uint64_t columns, int column) {
    return (columns >> (column - 1) & 1u) != 0;
}

// What of a person's row cannot be used: numbers that could not be read, and dates that give no
// test age, which leave every derived cell empty rather than score against the wrong norms.
ExportBlanks blanksFor(const PersonRecord& person, std::uint64_t columns) {
    ExportBlanks blanks;
    blanks.id = unreadable(columns, kExportColumnId);
    blanks.sex = unreadable(columns, kExportColumnSex);
    blanks.handedness = unreadable(columns, kExportColumnHandedness);
    blanks.derived = !testDatesValid(person);
    for (int raw = 0; raw < kRawScoreCount; ++raw) {
        blanks.raw[raw] = unreadable(columns, kExportColumnFirstRawScore + raw);
        blanks.derived = blanks.derived || blanks.raw[raw];
    }
    return blanks;
}

// One message per person whose row cannot be used as it stands.
std::string unusablePersonMessage(const PersonRecord& person, std::uint64_t columns,
                                  const ExportBlanks& blanks) {
    std::string text =
        "Testpersonen " + std::string(person.NAMN) + " (ID " + std::to_string(person.ID) + "):";
    const std::uint64_t ageColumn = std::uint64_t{1} << (kExportColumnAge - 1);
    if ((columns & ~ageColumn) != 0) {
        text += " Tal i databasen kan inte läsas och lämnas tomma i exporten.";
    }
    if (!testDatesValid(person)) {
        text += " Testdatum eller födelsedatum saknas eller är ogiltigt, så teståldern kan inte "
                "beräknas.";
    }
    if (blanks.derived) {
        text += " Testålder, normgrupp, skalpoäng och indexpoäng lämnas tomma för denna "
                "testperson.";
    }
    return text;
}

// The export's rows in the access log, naming the persons it will hold and the file, in one
// transaction: one row, or several when the list of IDs is long. A register whose IDs cannot be
// read still gets its row; the export then reports what is wrong.
bool logExportBeforeWriting(const std::string& path) {
    std::vector<std::int32_t> ids;
    const std::vector<std::string> details = DoListExportPersonIds(ids) == DB_DONE
                                                 ? exportLogDetails(std::move(ids), path)
                                                 : std::vector{exportLogDetailUnknown(path)};
    if (details.size() == 1) {
        return logBeforeReading(AccessEvent::Exported, std::nullopt, details.front());
    }
    Transaction transaction;
    bool logged = transaction.started();
    for (std::size_t i = 0; logged && i < details.size(); ++i) {
        logged = DoAppendAccessLog(AccessEvent::Exported, std::nullopt, details[i]) == DB_DONE;
    }
    if (logged && transaction.commit()) {
        return true;
    }
    showMessage(kAccessLogRefusedMessage);
    return false;
}

} // namespace

ExportResult writeExport(const std::string& path, const ExportSelection& selection,
                         TestOccasion& occasion, const std::function<void(int)>& progress) {
    return writeExport(path, selection, occasion, currentNorms(), [&progress](int written) {
        if (progress) {
            progress(written);
        }
        return true;
    });
}

ExportResult writeExport(const std::string& path, const ExportSelection& selection,
                         TestOccasion& occasion, NormSource& norms,
                         const std::function<bool(int)>& progress) {
    // A target that may not be written is refused before the access log records anything.
    std::string refused;
    if (!outputTargetAllowed(path, refused)) {
        showWriteError(refused);
        return ExportResult::CannotOpen;
    }
    if (selection.any() && DoCheckRegisterIntact() != DB_DONE) {
        return ExportResult::ReadFailed;
    }
    if (selection.any() && !logExportBeforeWriting(path)) {
        return ExportResult::Refused;
    }
    ExportFile file;
    std::string error;
    if (!file.open(path, error)) {
        showWriteError(error);
        return ExportResult::CannotOpen;
    }
    if (!selection.any()) {
        showMessage(text(kNoSelectionText));
        // The empty file stays, as it always has.
        file.commit(error);
        return ExportResult::NoSelection;
    }
    file.writeLine(exportHeaderLine(selection));
    const bool scores = selection.groups[EXPORT_SCALED] || selection.groups[EXPORT_INDEX];
    if (scores) {
        reportBrokenNormRules(norms);
    }
    int written = 0;
    const int failuresBefore = reportedDatabaseFailures();
    bool cancelled = false;
    std::int32_t previousId = 0;
    // The query cannot be stopped from inside; after a cancel the remaining rows are only read.
    DoSelectExportRows(occasion, [&](std::uint64_t unreadableColumns, const char* storedId) {
        if (cancelled) {
            return;
        }
        // A row whose ID is no ID of the program is no person the file could name: it is left
        // out, and the message names the ID as stored.
        if (unreadable(unreadableColumns, kExportColumnId)) {
            showMessage("Testpersonen " + std::string(occasion.person.NAMN) + " (" +
                        storedIdName(storedId) +
                        "): " + unreadableIdMessage(storedId, "testpersonen exporteras inte"));
            return;
        }
        const ExportBlanks blanks = blanksFor(occasion.person, unreadableColumns);
        // One message per person: what cannot be used, and what the forms could not have stored.
        std::string said;
        if (blanks.derived || blanks.sex || blanks.handedness) {
            said = unusablePersonMessage(occasion.person, unreadableColumns, blanks);
        }
        std::string stored = storedValueMessage(occasion);
        if (written > 0 && occasion.person.ID == previousId) {
            stored += (stored.empty() ? "" : " ") + std::string("ID ") +
                      std::to_string(previousId) +
                      " finns på flera rader i TESTPERSON eller TESTDATA; varje rad exporteras.";
        }
        previousId = occasion.person.ID;
        if (!stored.empty()) {
            said += (said.empty() ? "" : " ") + stored;
        }
        if (!said.empty()) {
            showMessage(said);
        }
        if (scores && !blanks.derived) {
            selectAgeBand(occasion, norms);
            computeScaledScores(occasion, norms);
        }
        file.writeLine(exportPersonLine(occasion, selection, blanks));
        ++written;
        if (progress && !progress(written)) {
            cancelled = true;
        }
    });
    if (cancelled) {
        // Nothing of this run reaches the target; an earlier file of that name stays as it was.
        file.abandon();
        showMessage(kExportCancelled);
        return ExportResult::Cancelled;
    }
    if (reportedDatabaseFailures() != failuresBefore) {
        // An export that a database error cut short or spoilt is never saved.
        file.abandon();
        return ExportResult::ReadFailed;
    }
    if (!file.commit(error)) {
        showWriteError(error);
        return ExportResult::WriteFailed;
    }
    return ExportResult::Written;
}
