// Reading and writing the bytes of a profile file. A profile that does not exist yet is not an
// error: it reads as empty and the first write creates it, folder and all.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qelto::platform {

// False with error filled when the file exists but cannot be read; a missing file gives empty
// bytes and true.
bool readProfileBytes(const std::filesystem::path& path, std::string& bytes,
                      std::string* error = nullptr);

// Creates the folder when missing, then replaces the file atomically.
bool writeProfileBytes(const std::filesystem::path& path, std::string_view bytes,
                       std::string* error = nullptr);

}  // namespace qelto::platform
