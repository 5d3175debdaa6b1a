#include "platform/user_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
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

// An installed program keeps its shared files in ../share/qelto/<folder> beside itself.
std::filesystem::path installedDir(const char* folder) {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return {};
    }
    auto installed = (program.parent_path() / ".." / "share" / "qelto" / folder).lexically_normal();
    return std::filesystem::is_directory(installed, ec) ? installed : std::filesystem::path{};
}

}  // namespace

std::filesystem::path configDir() {
    // The XDG rules say a relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (const char* xdg = nonEmptyEnv("XDG_CONFIG_HOME")) {
        const std::filesystem::path base(xdg);
        if (base.is_absolute()) {
            return base / kCompanyFolder;
        }
    }
    return homeDir() / ".config" / kCompanyFolder;
}

std::filesystem::path settingsFile() {
    return configDir() / "Qelto.conf";
}

std::filesystem::path chemicalCatalogueFile() {
    return configDir() / "qelto.ini";
}

std::filesystem::path dataHome() {
    if (const char* xdg = nonEmptyEnv("XDG_DATA_HOME")) {
        const std::filesystem::path base(xdg);
        if (base.is_absolute()) {
            return base / kCompanyFolder / "Qelto";
        }
    }
    return homeDir() / ".local" / "share" / kCompanyFolder / "Qelto";
}

std::filesystem::path historyFile() {
    if (const char* file = nonEmptyEnv("QELTO_HISTORY")) {
        return file;
    }
    return dataHome() / "history.sqlite";
}

std::filesystem::path languageDir() {
    if (const char* dir = nonEmptyEnv("QELTO_LANG_DIR")) {
        return dir;
    }
    auto installed = installedDir("lang");
    return installed.empty() ? std::filesystem::path(QELTO_SOURCE_LANG_DIR) : installed;
}

std::filesystem::path dataDir() {
    if (const char* dir = nonEmptyEnv("QELTO_DATA_DIR")) {
        return dir;
    }
    auto installed = installedDir("data");
    return installed.empty() ? std::filesystem::path(QELTO_SOURCE_DATA_DIR) : installed;
}

}  // namespace qelto::platform
