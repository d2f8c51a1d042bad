#include "settings_location.h"
#include "temp_dir.h"
#include "working_directory.h"

#include <gtest/gtest.h>

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

} // namespace
