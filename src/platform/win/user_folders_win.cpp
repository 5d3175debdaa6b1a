#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <system_error>

#include "platform/user_folders.h"
#include "platform/win/wide_text.h"

namespace qelto::platform {
namespace {

constexpr const wchar_t* kCompanyFolder = L"Halvercott";

// The environment first, so that a test or a portable set-up can point Qelto elsewhere, then the
// known folder itself (a program started without the usual environment).
std::filesystem::path knownFolder(const wchar_t* variable, const KNOWNFOLDERID& id) {
    if (const wchar_t* value = ::_wgetenv(variable); value != nullptr && *value != L'\0') {
        return std::filesystem::path(value);
    }
    wchar_t* path = nullptr;
    std::filesystem::path folder;
    if (::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) {
        folder = path;
    }
    ::CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::filesystem::path userConfigFolder() {
    return knownFolder(L"APPDATA", FOLDERID_RoamingAppData) / kCompanyFolder;
}

std::filesystem::path userDataFolder() {
    return knownFolder(L"LOCALAPPDATA", FOLDERID_LocalAppData) / kCompanyFolder / L"Qelto";
}

std::filesystem::path programFolder() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) {
            return {};
        }
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    return std::filesystem::path(program).parent_path();
}

// The zip lays the shared files out beside qeltoctl.exe: lang\ and data\.
std::filesystem::path installedFolder(const char* folder) {
    const auto program = programFolder();
    if (program.empty()) {
        return {};
    }
    auto installed = program / utf8ToWide(folder);
    std::error_code ec;
    return std::filesystem::is_directory(installed, ec) ? installed : std::filesystem::path{};
}

}  // namespace qelto::platform
