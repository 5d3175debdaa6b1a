// The two files a saved report page is kept with: the print style sheet and the logo. They are
// data files of Qelto (so a shop can put its own logo there); when one is missing, the built-in
// one is written in its place, so a saved report is always complete.
#pragma once

#include <filesystem>
#include <string>

namespace qelto::app {

// Copies (or writes) the file named fileName from the data folder into folder, replacing a file
// there and leaving the copy writable. False, and why in *error, when it could not be written.
bool placeSupportFile(const std::filesystem::path& dataFolder, const std::string& fileName,
                      const std::filesystem::path& folder, std::string* error);

}  // namespace qelto::app
