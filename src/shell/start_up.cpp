// SPDX-License-Identifier: Apache-2.0
#include "start_up.h"

#include "data_source.h"
#include "db.h"
#include "first_start.h"
#include "login_dialog.h"
#include "main_window.h"
#include "memory_norm_source.h"
#include "message_box.h"
#include "new_database_dialog.h"
#include "person_list_state.h"
#include "schema.h"
#include "screen_size.h"
#include "shell_state.h"
#include "start_screen.h"
#include "test_occasion.h"
#include "text_table.h"

#include <cstring>
#include <string>

namespace {

// The register the data-source settings name (by default DODODA.db in the working directory).
// A settings file that cannot be used is named in its own message before the usual one.
bool connectToDatabase() {
    std::string problem;
    if (connectRegister(problem) == 1) {
        return true;
    }
    if (!problem.empty()) {
        showMessage(problem);
    }
    return false;
}

} // namespace

int startUp(MainWindow& window) {
    const ScreenSize screen = screenSize();
    screenWidth() = screen.width;
    screenHeight() = screen.height;
    std::strcpy(testOccasion().NORMGRUPP, "Standardgrupp");
    currentScreen() = SCREEN_START;
    personListState().descending = 1;
    personListState().sortColumn = 9;
    personListState().rememberedRow = 0;
    window.createSharedFonts();
    resetTestOccasion();
    window.createSharedButtons();

    if (offerDatabaseWhenMissing(&window, window.fonts()->controlFont) == 0) {
        return 0;
    }
    if (tellWhenDatabaseMissing()) {
        return 0;
    }
    if (!connectToDatabase()) {
        showMessage(text(60));
        return 0;
    }
    // A register made before the access log or the kept failed logins gets them now, before
    // anyone logs in. On a server the common answer, everything present, comes in the same round
    // trip as the norm tables.
    const bool normsRead =
        connectedToServer() && readNormsAfterCheck(kAccessLogAndLoginFailuresPresentSql);
    if (!normsRead && DoAddAccessLogAndLoginFailures() != DB_DONE) {
        return 0;
    }
    if (runLoginDialog(&window, window.fonts()->controlFont, createdDatabaseUser()) != 1) {
        return 0;
    }
    DoFixNiTest();
    // The norm tables are read by now, so that opening results later costs only the stamp.
    if (!normsRead) {
        currentNorms();
    }
    showStartScreen(window);
    return 1;
}
