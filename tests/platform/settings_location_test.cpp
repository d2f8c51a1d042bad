// SPDX-License-Identifier: Apache-2.0
#include "settings_location.h"
#include "temp_dir.h"
#include "working_directory.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>

namespace {

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

TEST(SettingsLocation, ConfigHomeOrHomeDotConfig) {
    ScopedEnvironment home("HOME", "/home/psykolog");
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", "/var/conf");
        EXPECT_EQ(settingsFilePath(), "/var/conf/RIVO-IV/kvade.ini");
    }
    ScopedEnvironment relative("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored
    EXPECT_EQ(settingsFilePath(), "/home/psykolog/.config/RIVO-IV/kvade.ini");
}

TEST(SettingsLocation, PreparedFileIsTheUsersAlone) {
    TempDir dir;
    ScopedEnvironment config("XDG_CONFIG_HOME", dir.path().string());
    ASSERT_TRUE(prepareSettingsFile());
    EXPECT_EQ(modeOf(dir.path() / "RIVO-IV"), 0700u);
    EXPECT_EQ(modeOf(settingsFilePath()), 0600u);
    chmod(settingsFilePath().c_str(), 0644);
    ASSERT_TRUE(prepareSettingsFile());
    EXPECT_EQ(modeOf(settingsFilePath()), 0600u);
}

TEST(DataFolder, DataHomeOrHomeDotLocalShare) {
    ScopedEnvironment home("HOME", "/home/psykolog");
    {
        ScopedEnvironment data("XDG_DATA_HOME", "/srv/data");
        EXPECT_EQ(dataFolderPath(), "/srv/data/RIVO-IV");
    }
    ScopedEnvironment relative("XDG_DATA_HOME", "data"); // not absolute: ignored
    EXPECT_EQ(dataFolderPath(), "/home/psykolog/.local/share/RIVO-IV");
}

TEST(DataFolder, CreatedWithItsParentsAndMadeTheUsersAlone) {
    TempDir dir;
    ScopedEnvironment data("XDG_DATA_HOME", (dir.path() / "deep" / "share").string());
    std::error_code error;
    ASSERT_TRUE(prepareDataFolder(error)) << error.message();
    EXPECT_EQ(modeOf(dataFolderPath()), 0700u);
    chmod(dataFolderPath().c_str(), 0755); // an existing folder that others could read
    ASSERT_TRUE(prepareDataFolder(error));
    EXPECT_EQ(modeOf(dataFolderPath()), 0700u);

    // A file where the folder should be is reported, not ignored.
    ScopedEnvironment blocked("XDG_DATA_HOME", dir.path().string());
    std::filesystem::remove_all(dir.path() / "RIVO-IV");
    { std::ofstream(dir.path() / "RIVO-IV") << "x"; }
    EXPECT_FALSE(prepareDataFolder(error));
    EXPECT_TRUE(error);
}

} // namespace
