#include "platform/c_file.h"

#include <stdlib.h>
#include <unistd.h>

namespace qelto::platform {

std::FILE* openCFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* createUniqueFile(const std::filesystem::path& folder, const std::string& prefix,
                            std::filesystem::path& made) {
    std::string pattern = (folder / (prefix + "XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "w+");
    if (file == nullptr) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return nullptr;
    }
    made = pattern;
    return file;
}

}  // namespace qelto::platform
