#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cerrno>

#include "platform/c_file.h"
#include "platform/win/wide_text.h"

namespace qelto::platform {

std::FILE* openCFile(const std::filesystem::path& path, const char* mode) {
    return ::_wfopen(path.c_str(), utf8ToWide(mode).c_str());
}

std::FILE* createUniqueFile(const std::filesystem::path& folder, const std::string& prefix,
                            std::filesystem::path& made) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto name = folder / utf8ToWide(prefix + std::to_string(::GetCurrentProcessId()) +
                                              "-" + std::to_string(counter.fetch_add(1)));
        const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) {
                continue;
            }
            errno = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
            return nullptr;
        }
        const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
        std::FILE* file = fd < 0 ? nullptr : ::_fdopen(fd, "w+b");
        if (file == nullptr) {
            fd < 0 ? ::CloseHandle(handle) : ::_close(fd);
            ::DeleteFileW(name.c_str());
            return nullptr;
        }
        made = name;
        return file;
    }
    errno = EEXIST;
    return nullptr;
}

}  // namespace qelto::platform
