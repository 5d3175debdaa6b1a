#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace qelto::platform {
namespace {

constexpr const char* kCompanyFolder = "Halvercott";

const char* nonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? value : nullptr;
}

// A program started without HOME (from a service manager, say) still has a password entry.
std::filesystem::path homeDir() {
    if (const char* home = nonEmptyEnv("HOME")) {
        return home;
    }
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && *found->pw_dir != '\0') {
        return found->pw_dir;
    }
    return {};
}

// The XDG rules say a relative XDG_*_HOME is invalid and must be ignored.
std::filesystem::path xdgBase(const char* variable, const char* fallbackUnderHome) {
    if (const char* xdg = nonEmptyEnv(variable)) {
        std::filesystem::path base(xdg);
        if (base.is_absolute()) {
            return base;
        }
    }
    return homeDir() / fallbackUnderHome;
}

}  // namespace

std::filesystem::path userConfigFolder() {
    return xdgBase("XDG_CONFIG_HOME", ".config") / kCompanyFolder;
}

std::filesystem::path userDataFolder() {
    return xdgBase("XDG_DATA_HOME", ".local/share") / kCompanyFolder / "Qelto";
}

std::filesystem::path programFolder() {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path{} : program.parent_path();
}

// An installed program keeps its shared files in ../share/qelto/<folder> beside itself.
std::filesystem::path installedFolder(const char* folder) {
    const auto program = programFolder();
    if (program.empty()) {
        return {};
    }
    std::error_code ec;
    auto installed = (program / ".." / "share" / "qelto" / folder).lexically_normal();
    return std::filesystem::is_directory(installed, ec) ? installed : std::filesystem::path{};
}

}  // namespace qelto::platform
