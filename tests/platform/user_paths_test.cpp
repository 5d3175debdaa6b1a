#include "platform/user_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::configHome;
using test::testDir;

TEST(UserPaths, ConfigFolderFollowsXdgConfigHome) {
    ::setenv("XDG_CONFIG_HOME", (testDir() / "xdg").c_str(), 1);
    EXPECT_EQ(configDir(), testDir() / "xdg" / "Halvercott");
    EXPECT_EQ(settingsFile(), testDir() / "xdg" / "Halvercott" / "Qelto.conf");
    EXPECT_EQ(chemicalCatalogueFile(), testDir() / "xdg" / "Halvercott" / "qelto.ini");
}

TEST(UserPaths, EmptyXdgConfigHomeFallsBackToHomeConfig) {
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(configDir(), testDir() / ".config" / "Halvercott");
}

TEST(UserPaths, UnsetXdgConfigHomeFallsBackToHomeConfig) {
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(configDir(), testDir() / ".config" / "Halvercott");
}

TEST(UserPaths, RelativeXdgConfigHomeIsIgnored) {
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(configDir(), testDir() / ".config" / "Halvercott");
}

TEST(UserPaths, WithoutHomeThePasswordEntryGivesTheFolder) {
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    const auto dir = configDir();
    ::setenv("HOME", testDir().c_str(), 1);
    EXPECT_TRUE(dir.is_absolute()) << dir;
    EXPECT_EQ(dir.filename(), "Halvercott");
    EXPECT_NE(dir, testDir() / ".config" / "Halvercott");
}

TEST(UserPaths, LanguageFolderFollowsQeltoLangDir) {
    ::setenv("QELTO_LANG_DIR", (testDir() / "lang").c_str(), 1);
    const auto dir = languageDir();
    ::unsetenv("QELTO_LANG_DIR");
    EXPECT_EQ(dir, testDir() / "lang");
}

TEST(UserPaths, LanguageFolderOfABuildTreeHoldsTheEnglishCatalog) {
    ::unsetenv("QELTO_LANG_DIR");
    EXPECT_TRUE(std::filesystem::is_regular_file(languageDir() / "LangEN.po")) << languageDir();
}

}  // namespace
}  // namespace qelto::platform
