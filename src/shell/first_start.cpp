// SPDX-License-Identifier: Apache-2.0
#include "first_start.h"

#include "data_source.h"
#include "db.h"
#include "message_box.h"
#include "new_database_dialog.h"
#include "settings_location.h"
#include "system_error_text.h"

#include <filesystem>
#include <string>

bool& startedFromMenu() {
    static bool fromMenu = false;
    return fromMenu;
}

bool enterDataFolder() {
    std::error_code error;
    if (prepareDataFolder(error)) {
        std::filesystem::current_path(dataFolderPath(), error);
    }
    if (error) {
        MessageRequest request;
        request.text = "Mappen " + dataFolderPath().string() +
                       " kan inte skapas eller öppnas: " + systemErrorText(error.value());
        request.caption = kProgramCaption;
        request.withoutOwner = true;
        showMessageBox(request);
        return false;
    }
    startedFromMenu() = true;
    return true;
}

int offerDatabaseWhenMissing(QWidget* owner, const QFont& controlFont) {
    if (!startedFromMenu()) {
        return 1;
    }
    // A register on a server needs no file here; a settings file that cannot be used is told
    // when the program connects.
    DataSourceSetting setting;
    std::string problem;
    if (!readDataSourceSetting(setting, problem) || setting.configured) {
        return 1;
    }
    std::error_code error;
    const std::filesystem::path database = std::filesystem::current_path(error) / kDatabaseFileName;
    if (std::filesystem::exists(database, error)) {
        return 1;
    }
    return runNewDatabaseDialog(owner, controlFont);
}

bool tellWhenDatabaseMissing() {
    DataSourceSetting setting;
    std::string problem;
    if (!readDataSourceSetting(setting, problem) || setting.configured) {
        return false;
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (std::filesystem::exists(folder / kDatabaseFileName, error)) {
        return false;
    }
    showMessage(missingDatabaseMessage(folder.string()));
    return true;
}

std::string missingDatabaseMessage(const std::string& folder) {
    return std::string("Det finns ingen databas (") + kDatabaseFileName + ") i mappen " + folder +
           ".\n\nSkapa en med kommandot\n    rivo-admin init-db --user NAMN\ni den mappen, "
           "eller starta RIVO-IV från programmenyn, som erbjuder att skapa en databas.";
}
