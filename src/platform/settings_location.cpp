// SPDX-License-Identifier: Apache-2.0
#include "settings_location.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An XDG base folder: the variable when it holds an absolute path, else the default under HOME.
std::filesystem::path xdgBase(const char* variable, const char* defaultUnderHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/") / defaultUnderHome;
}

} // namespace

std::filesystem::path settingsFilePath() {
    return xdgBase("XDG_CONFIG_HOME", ".config") / "RIVO-IV" / "kvade.ini";
}

std::filesystem::path dataFolderPath() {
    return xdgBase("XDG_DATA_HOME", ".local/share") / "RIVO-IV";
}

bool prepareDataFolder(std::error_code& error) {
    const std::filesystem::path folder = dataFolderPath();
    std::filesystem::create_directories(folder, error);
    if (error) {
        return false;
    }
    if (chmod(folder.c_str(), 0700) != 0) {
        error = std::error_code(errno, std::generic_category());
        return false;
    }
    return true;
}

bool prepareSettingsFile() {
    const std::filesystem::path file = settingsFilePath();
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        return false;
    }
    chmod(file.parent_path().c_str(), 0700);
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    const bool ok = fchmod(fd, 0600) == 0;
    close(fd);
    return ok;
}
