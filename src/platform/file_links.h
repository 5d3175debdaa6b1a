// Where a save of a path lands: the file at the end of its symbolic links, in its folder.
#pragma once

#include <filesystem>

namespace qelto::platform {

// The path a save writes: the file at the end of any chain of symbolic links, so the links stay.
// A link to a file not yet made leads to that file's name.
std::filesystem::path throughLinks(std::filesystem::path path);

// The folder a path's file lies in; "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& path);

}  // namespace qelto::platform
