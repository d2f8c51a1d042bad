#include "start_up.h"

#include "db.h"
#include "first_start.h"
#include "login_dialog.h"
#include "main_window.h"
#include "message_box.h"
#include "person_list_state.h"
#include "screen_size.h"
#include "shell_state.h"
#include "start_screen.h"
#include "test_occasion.h"
#include "text_table.h"

#include <cstring>
#include <filesystem>

namespace {

bool connectToDatabase() {
    char user[19];
    char password[13];
    unscrambleDatabaseCredentials(user, password);
    std::error_code error;
    const std::filesystem::path database = std::filesystem::current_path(error) / kDatabaseFileName;
    const int connected = DoConnect(user, password, database.c_str());
    std::memset(user, 0, sizeof user);
    std::memset(password, 0, sizeof password);
    return connected == 1;
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
    if (!connectToDatabase()) {
        showMessage(text(60));
        return 0;
    }
    if (runLoginDialog(&window, window.fonts()->controlFont) != 1) {
        return 0;
    }
    DoFixNiTest();
    showStartScreen(window);
    return 1;
}
