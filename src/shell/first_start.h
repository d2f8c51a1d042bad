// SPDX-License-Identifier: Apache-2.0
#pragma once

// A start from the desktop menu. The menu entry starts the program with the option
// --data-folder, so it works in the user's data folder ($XDG_DATA_HOME/RIVO-IV/) and, when that
// holds no database yet, offers to create one instead of ending with a connection error. A
// start from a terminal has no option and works in the folder it was started in, as always.

#include <string>

inline constexpr const char* kDataFolderOption = "--data-folder";

// Whether this start works in the data folder and may offer a new database.
bool& startedFromMenu();

// Creates the data folder (mode 0700) when it is missing, makes it the working directory and
// marks the start as one from the menu. When that fails the reason is shown and false returned.
bool enterDataFolder();

// Before the connection: when the register is the default file and the working directory holds
// none, says so (missingDatabaseMessage) and returns true; the program then ends without
// trying to connect.
bool tellWhenDatabaseMissing();
std::string missingDatabaseMessage(const std::string& folder);

// Before the connection of a start from the menu: 1 when there is a database to connect to
// (there was one, or the user created one just now), 0 when the user declined the offer.
class QWidget;
class QFont;
int offerDatabaseWhenMissing(QWidget* owner, const QFont& controlFont);
