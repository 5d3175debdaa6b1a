// The folders the operating system gives a user and a program (user_paths.h builds on them): one
// implementation for Linux (XDG), one for Windows (the known folders).
#pragma once

#include <filesystem>

namespace qelto::platform {

// The folder of Qelto's per-user configuration, the company folder included.
std::filesystem::path userConfigFolder();

// The folder of Qelto's per-user data (the unit history), company and program folders included.
std::filesystem::path userDataFolder();

// The folder of the running program; empty when the system cannot tell.
std::filesystem::path programFolder();

// A folder of the shared files (lang, data) an installed program keeps beside itself; empty when
// the running program has none (it runs from its build tree).
std::filesystem::path installedFolder(const char* folder);

}  // namespace qelto::platform
