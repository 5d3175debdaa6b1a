// Writing a whole file so that a crash, a full disk or a pulled USB stick never leaves it half
// written: the bytes go to a temporary file in the same folder, are flushed to the disk, and only
// then replace the old file by rename.
//
// Only a regular file is ever replaced. A name that is a device (/dev/null), a named pipe, a
// socket or a folder is refused, so a slip on the command line cannot swap a system file for a
// document. A symbolic link is written through: the file it points to is replaced and the link
// stays a link, as the user who made it expects.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qelto::platform {

// Whether a save to path could go ahead: the path (after its links) names nothing yet or a
// regular file the user may write, and its folder exists and takes new files. False, with a
// sentence naming the file and the reason in error, when it cannot.
bool canReplaceFile(const std::filesystem::path& path, std::string* error = nullptr);

// Returns false and fills error with a sentence naming the file and the reason when any step
// fails; the old file, if there was one, is then left as it was and no temporary file remains.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error = nullptr);

// Reads a whole regular file. Returns false and fills error ("cannot open X: no such file") on
// failure; a folder, device, named pipe or socket is refused without waiting on it.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes,
                   std::string* error = nullptr);

// The first character of a file name (one part of a path, not a whole path) that this system does
// not allow in a file name: '/' on Linux; on Windows also \ : * ? " < > | and control
// characters. '\0' when the name has none.
char forbiddenFileNameChar(std::string_view name);

// The reason text for an errno value as the tool words it, with advice where there is some.
std::string describeErrno(int err);

}  // namespace qelto::platform
