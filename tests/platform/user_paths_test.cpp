#include "platform/user_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::testDir;

// The config folder follows an absolute XDG_CONFIG_HOME, else HOME/.config, else the password
// entry's home.
TEST(UserPaths, ConfigFolderFollowsXdgConfigHomeThenHome) {
    ::setenv("XDG_CONFIG_HOME", (testDir() / "xdg").c_str(), 1);
    EXPECT_EQ(settingsFile(), testDir() / "xdg" / "Halvercott" / "Qelto.conf");
    EXPECT_EQ(chemicalCatalogueFile(), testDir() / "xdg" / "Halvercott" / "qelto.ini");
    for (const char* xdg : {"", "relative/config"}) {
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(configDir(), testDir() / ".config" / "Halvercott") << xdg;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    const auto dir = configDir();
    ::setenv("HOME", testDir().c_str(), 1);
    EXPECT_TRUE(dir.is_absolute()) << dir;
    EXPECT_EQ(dir.filename(), "Halvercott");
}

TEST(UserPaths, LanguageFolderFollowsQeltoLangDirElseTheSourceTree) {
    ::setenv("QELTO_LANG_DIR", (testDir() / "lang").c_str(), 1);
    const auto chosen = languageDir();
    ::unsetenv("QELTO_LANG_DIR");
    EXPECT_EQ(chosen, testDir() / "lang");
    EXPECT_TRUE(std::filesystem::is_regular_file(languageDir() / "LangEN.po")) << languageDir();
}

}  // namespace
}  // namespace qelto::platform
