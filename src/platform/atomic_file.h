// Writing a whole file so that a crash, a full disk or a pulled USB stick never leaves it half
// written: the bytes go to a temporary file in the same folder, are flushed to the disk, and only
// then replace the old file by rename.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qelto::platform {

// Returns false and fills error with a sentence naming the file and the reason when any step
// fails; the old file, if there was one, is then left as it was and no temporary file remains.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error = nullptr);

// Reads a whole file. Returns false and fills error ("cannot open X: no such file") on failure.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes,
                   std::string* error = nullptr);

// The reason text for an errno value as the tool words it, with advice where there is some.
std::string describeErrno(int err);

}  // namespace qelto::platform
