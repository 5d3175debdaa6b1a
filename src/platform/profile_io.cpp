#include "platform/profile_io.h"

#include <system_error>

#include "platform/atomic_file.h"

namespace qelto::platform {

bool readProfileBytes(const std::filesystem::path& path, std::string& bytes, std::string* error) {
    bytes.clear();
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        return true;
    }
    return readWholeFile(path, bytes, error);
}

bool writeProfileBytes(const std::filesystem::path& path, std::string_view bytes,
                       std::string* error) {
    const auto folder = path.parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            if (error != nullptr) {
                *error = "cannot write " + path.string() + ": cannot create folder " +
                         folder.string() + ": " + describeErrno(ec.value());
            }
            return false;
        }
    }
    return writeFileAtomically(path, bytes, error);
}

}  // namespace qelto::platform
