#include <windows.h>

#include "platform/locked_file.h"
#include "platform/win/wide_text.h"

namespace qelto::platform {
namespace {

bool fail(std::string* reason) {
    if (reason != nullptr) {
        const DWORD code = ::GetLastError();
        *reason = code == ERROR_ACCESS_DENIED ? "permission denied" : windowsMessage(code);
    }
    return false;
}

}  // namespace

struct LockedAppendFile::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;
};

LockedAppendFile::LockedAppendFile(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

LockedAppendFile::~LockedAppendFile() {
    OVERLAPPED whole{};
    ::UnlockFileEx(handle_->file, 0, MAXDWORD, MAXDWORD, &whole);
    ::CloseHandle(handle_->file);
}

std::unique_ptr<LockedAppendFile> LockedAppendFile::open(const std::filesystem::path& path,
                                                         std::string* reason) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail(reason);
        return nullptr;
    }
    auto handle = std::make_unique<Handle>();
    handle->file = file;
    std::unique_ptr<LockedAppendFile> locked(new LockedAppendFile(std::move(handle)));
    // The whole file and beyond, as flock does; waits for another process that holds it.
    OVERLAPPED whole{};
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) == 0) {
        fail(reason);
        return nullptr;
    }
    return locked;
}

bool LockedAppendFile::append(std::string_view text, std::string* reason) {
    LARGE_INTEGER end{};
    if (::SetFilePointerEx(handle_->file, {}, &end, FILE_END) == 0) {
        return fail(reason);
    }
    while (!text.empty()) {
        const DWORD chunk = text.size() > 1U << 20 ? 1U << 20 : static_cast<DWORD>(text.size());
        DWORD written = 0;
        if (::WriteFile(handle_->file, text.data(), chunk, &written, nullptr) == 0 ||
            written == 0) {
            return fail(reason);
        }
        text.remove_prefix(written);
    }
    return ::FlushFileBuffers(handle_->file) != 0 || fail(reason);
}

bool LockedAppendFile::readAll(std::string& text, std::string* reason) const {
    text.clear();
    char buffer[4096];
    for (std::uint64_t offset = 0;;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        if (::ReadFile(handle_->file, buffer, sizeof buffer, &n, &at) == 0) {
            return ::GetLastError() == ERROR_HANDLE_EOF || fail(reason);
        }
        if (n == 0) {
            return true;
        }
        text.append(buffer, n);
        offset += n;
    }
}

bool LockedAppendFile::size(std::uint64_t& bytes, std::string* reason) const {
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(handle_->file, &size) == 0) {
        return fail(reason);
    }
    bytes = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool makeFolder(const std::filesystem::path& folder, std::string* reason) {
    return ::CreateDirectoryW(folder.c_str(), nullptr) != 0 ||
           ::GetLastError() == ERROR_ALREADY_EXISTS || fail(reason);
}

}  // namespace qelto::platform
