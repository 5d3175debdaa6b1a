// Text at the Win32 boundary: Qelto keeps UTF-8 everywhere, Windows takes and gives UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace qelto::platform {

std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);

// The system's own sentence for a GetLastError() code, in UTF-8, with the code after it
// ("Access is denied (error 5)"). DWORD is unsigned long on Windows.
std::string windowsMessage(unsigned long err);

}  // namespace qelto::platform
