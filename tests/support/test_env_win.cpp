// The test isolation on Windows: every test gets a fresh folder as its working directory and as
// its APPDATA, LOCALAPPDATA and USERPROFILE, so no test touches the settings of whoever runs the
// suite. (Starting processes is the Linux suite's business: the Windows tests run in-process.)
#include <windows.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "support/test_env.h"

namespace qelto::test {
namespace {

std::filesystem::path g_testDir;

void setVariable(const wchar_t* name, const std::filesystem::path& value) {
    ::SetEnvironmentVariableW(name, value.c_str());
    ::_wputenv_s(name, value.c_str());
}

class IsolatingListener : public ::testing::EmptyTestEventListener {
    std::filesystem::path originalCwd_;

    void OnTestStart(const ::testing::TestInfo&) override {
        originalCwd_ = std::filesystem::current_path();
        const auto base = std::filesystem::temp_directory_path();
        for (unsigned n = 0;; ++n) {
            g_testDir = base / ("qelto-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                std::to_string(n));
            if (std::filesystem::create_directory(g_testDir)) {
                break;
            }
        }
        std::filesystem::create_directories(g_testDir / ".config");
        std::filesystem::create_directories(g_testDir / "Local");
        setVariable(L"USERPROFILE", g_testDir);
        setVariable(L"APPDATA", g_testDir / ".config");
        setVariable(L"LOCALAPPDATA", g_testDir / "Local");
        std::filesystem::current_path(g_testDir);
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        std::filesystem::current_path(originalCwd_);
        std::error_code ignored;
        std::filesystem::remove_all(g_testDir, ignored);
        g_testDir.clear();
    }
};

const bool g_installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new IsolatingListener);
    return true;
}();

}  // namespace

std::filesystem::path testDir() {
    return g_testDir;
}

// APPDATA, as configDir() reads it; the company folder lies below it, as under XDG_CONFIG_HOME.
std::filesystem::path configHome() {
    return g_testDir / ".config";
}

}  // namespace qelto::test
