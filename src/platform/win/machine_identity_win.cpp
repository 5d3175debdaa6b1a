#include <lmcons.h>
#include <windows.h>

#include <array>

#include "platform/machine_identity.h"
#include "platform/win/wide_text.h"

namespace qelto::platform {

std::string userName() {
    std::array<wchar_t, UNLEN + 1> name{};
    DWORD size = static_cast<DWORD>(name.size());
    if (::GetUserNameW(name.data(), &size) != 0 && name[0] != L'\0') {
        return wideToUtf8(name.data());
    }
    return "unknown";
}

std::string hostName() {
    std::array<wchar_t, MAX_COMPUTERNAME_LENGTH + 1> name{};
    DWORD size = static_cast<DWORD>(name.size());
    if (::GetComputerNameW(name.data(), &size) != 0 && name[0] != L'\0') {
        return wideToUtf8(name.data());
    }
    return "unknown";
}

}  // namespace qelto::platform
