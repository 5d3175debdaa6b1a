// Text at the Win32 boundary: Qelto keeps UTF-8 everywhere, Windows takes and gives UTF-16.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace qelto::platform {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The system's own sentence for an error code, without its trailing full stop and line break
// ("The system cannot find the file specified").
std::string systemMessage(DWORD code);

// A path as the wide-character file functions take it. std::filesystem keeps paths in UTF-16
// on Windows, so this only adds the terminator.
inline const wchar_t* wide(const std::filesystem::path& path) {
    return path.c_str();
}

}  // namespace qelto::platform
