// C streams opened by a path that may hold any character: on Windows the narrow fopen would read
// the name in the ANSI code page, so the wide call is used there.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace qelto::platform {

std::FILE* openCFile(const std::filesystem::path& path, const char* mode);

// Creates a new file in folder named prefix followed by characters that make the name unique, and
// opens it for reading and writing; nullptr (errno set) when it cannot. made is its path.
std::FILE* createUniqueFile(const std::filesystem::path& folder, const std::string& prefix,
                            std::filesystem::path& made);

}  // namespace qelto::platform
