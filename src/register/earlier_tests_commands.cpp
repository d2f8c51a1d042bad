// SPDX-License-Identifier: Apache-2.0
// The commands of the earlier-tests screen on the selected person and on the database.

#include "backup_access_log.h"
#include "backup_dialog.h"
#include "backup_folder.h"
#include "database_backup.h"
#include "db.h"
#include "earlier_tests_screen.h"
#include "register_copy.h"
#include "safe_file.h"

#include "access_log.h"
#include "export_dialog.h"
#include "file_dialog.h"
#include "memory_norm_source.h"
#include "message_box.h"
#include "person_list_state.h"
#include "person_list_view.h"
#include "screen_host.h"
#include "screen_ids.h"
#include "test_occasion.h"
#include "text_table.h"

#include <QTreeView>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr unsigned short kNoSelection = 11;
constexpr unsigned short kDeleteQuestion = 12;
constexpr unsigned short kDeleted = 13;
constexpr unsigned short kBackupDone = 10;
constexpr const char* kBackupFileName = "DODODA_backup.db";
constexpr const char* kBackupTitle = "Välj mapp att spara databasfilen i.";

// The text with its one "%s" replaced by the name; the name is data, never a format.
std::string withName(unsigned short textId, const char* name) {
    std::string line = text(textId);
    const std::size_t at = line.find("%s");
    if (at != std::string::npos) {
        line.replace(at, 2, name);
    }
    return line;
}

} // namespace

void EarlierTestsScreen::actOnSelection(int mode) {
    std::vector<std::int32_t> selectedIds;
    const PersonListModel& model = personListModel(*list_);
    const int row = selectedPersonRow(*list_);
    if (row >= 0) {
        // A row whose stored ID cannot be read stands for no ID the database could be asked
        // for: opening or deleting it would reach another person.
        const std::string unreadable = model.unreadableIdAt(row);
        if (!unreadable.empty()) {
            showMessage(unreadable);
            focusList();
            return;
        }
        selectedIds.push_back(model.personIdAt(row));
        personListState().rememberedRow = row;
    }
    if (selectedIds.empty()) {
        showMessage(text(kNoSelection));
        focusList();
        return;
    }
    if (mode == kShowResultsMode) {
        if (selectedIds.size() == 1) {
            showResults(selectedIds.front());
        }
        return;
    }
    for (const std::int32_t id : selectedIds) {
        deletePerson(id);
    }
}

// A person without raw scores is shown with every subtest not administered, never with the raw
// scores of the person shown before.
void EarlierTestsScreen::showResults(std::int32_t id) {
    TestOccasion& occasion = testOccasion();
    bool hasScores = false;
    if (readOccasionForResults(id, occasion, hasScores) != DB_DONE) {
        return;
    }
    if (!hasScores) {
        for (std::int32_t& raw : occasion.RawScores) {
            raw = NOT_ADMINISTERED;
        }
        occasion.TD_TESTDATE = occasion.person.TESTDATE;
    }
    if (!logBeforeReading(AccessEvent::ResultsViewed, id, "")) {
        return;
    }
    host_.showScreen(SCREEN_RESULTS);
}

// The list row goes and the person is reported deleted only after both rows are gone from the
// database; a failure has been reported and changes nothing.
void EarlierTestsScreen::deletePerson(std::int32_t id) {
    PersonRecord& person = testOccasion().person;
    if (DoReadPD(id, person) != DB_DONE) {
        return;
    }
    MessageRequest question;
    question.text = withName(kDeleteQuestion, person.NAMN);
    question.caption = kProgramCaption;
    question.buttons = MessageButtons::YesNo;
    question.defaultButton = MessageDefault::Second;
    question.icon = MessageIcon::Error;
    if (showMessageBox(question) != AnswerYes) {
        return;
    }
    if (DoDeletePerson(id) != DB_DONE) {
        return;
    }
    PersonListModel& model = personListModel(*list_);
    model.removePersonRow(model.rowOfPerson(id));
    // No other person may stand selected in its place: a second "Ta b&ort" must not find one.
    list_->selectionModel()->clear();
    showMessage(withName(kDeleted, person.NAMN));
    resetTestOccasion();
}

void EarlierTestsScreen::backupDatabase() {
    // A copy on this workstation of a register shared on a server would be a second, unguarded
    // store of personal data, and would not be the clinic's backup anyway.
    if (connectedToServer()) {
        showMessage(kServerBackupMessage);
        return;
    }
    std::optional<BackupChoice> choice = askBackupChoice(host_.widgetParent(), host_.controlFont());
    if (!choice) {
        return;
    }
    std::error_code error;
    SaveFileRequest request;
    request.caption = std::string(kProgramCaption) + "  " + kBackupTitle;
    request.directory = std::filesystem::current_path(error).string();
    request.fileName = std::string(kBackupFileName) + (choice->encrypt ? kEncryptedExtension : "");
    request.filter = "Alla filer (*)";
    request.defaultSuffix = "db"; // the copy is a database, whatever name it is given
    const std::string target = askSaveFileName(request);
    if (target.empty()) {
        return;
    }
    std::string message;
    // A target that may not be written (the register itself, a link) is refused before the
    // access log records a backup.
    if (outputTargetAllowed(target, message)) {
        if (!logBackupBeforeWriting(target, choice->encrypt)) {
            return;
        }
        bool taken = false;
        if (writeRegisterCopy(target, choice->encrypt ? &choice->passphrase : nullptr,
                              CopyClaim::Replace, taken, message)) {
            showMessage(text(kBackupDone));
            return;
        }
    }
    MessageRequest failure;
    failure.text = message;
    failure.caption = "Error";
    failure.icon = MessageIcon::Information;
    failure.withoutOwner = true;
    showMessageBox(failure);
}

void EarlierTestsScreen::exportData() {
    runExportDialog(host_.widgetParent(), host_.controlFont());
}
