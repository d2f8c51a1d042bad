// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <filesystem>

// Where the settings file kvade.ini lives: $XDG_CONFIG_HOME/RIVO-IV/, or ~/.config/RIVO-IV/ when
// that is not set. The file holds personal data, so its folder is the user's alone.
std::filesystem::path settingsFilePath();

// Creates the settings folder (mode 0700) when it is missing, and an empty settings file
// (mode 0600) when that is missing; an existing file is made 0600. False when that fails.
bool prepareSettingsFile();

// The folder a start from the desktop menu works in: $XDG_DATA_HOME/RIVO-IV/, or
// ~/.local/share/RIVO-IV/ when that is not set. It will hold the database with personal data.
std::filesystem::path dataFolderPath();

// Creates the data folder when it is missing and makes it the user's alone (mode 0700). False,
// with the reason in error, when that fails.
bool prepareDataFolder(std::error_code& error);
