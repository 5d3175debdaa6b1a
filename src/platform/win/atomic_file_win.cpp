// Saving and reading whole files on Windows: the same rules as on Linux (only a regular file is
// replaced, the old file stays whole until the new one is on the disk), in Win32 terms.
#include <fmt/format.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/file_links.h"
#include "platform/win/handle_guard.h"
#include "platform/win/wide_text.h"

namespace qelto::platform {
namespace {

void setError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

std::string describeWin32(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "no such file or folder";
        case ERROR_ACCESS_DENIED:
            return "permission denied";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "the disk is full";
        case ERROR_WRITE_PROTECT:
            return "the disk is write-protected";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "another program has the file open; close it and try again";
        default:
            return windowsMessage(code);
    }
}

// Opens an existing name without reading or writing it, to learn what it is. Devices (NUL, CON,
// COM1, \\.\...) open as character devices or pipes, never as disk files.
std::string notARegularFile(const std::filesystem::path& path) {
    HandleGuard probe(::CreateFileW(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!probe.valid()) {
        return {};
    }
    switch (::GetFileType(probe.get())) {
        case FILE_TYPE_DISK:
            return {};
        case FILE_TYPE_CHAR:
            return "it is a device, not a file";
        case FILE_TYPE_PIPE:
            return "it is a named pipe, not a file";
        default:
            return "it is not a regular file";
    }
}

// A name no other save of the same file picks: the process, a counter and the clock.
std::filesystem::path temporaryBeside(const std::filesystem::path& path, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto unique = fmt::format(".{}.{:x}{:x}{:x}", wideToUtf8(path.filename().wstring()),
                                    ::GetCurrentProcessId(), counter.fetch_add(1) + attempt,
                                    ::GetTickCount64() & 0xffffff);
    return folderOf(path) / utf8ToWide(unique);
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 1U << 20 ? 1U << 20 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (::WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

char forbiddenFileNameChar(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return c;
        }
    }
    return '\0';
}

bool canReplaceFile(const std::filesystem::path& requested, std::string* error) {
    const auto refuse = [&](const std::string& reason) {
        setError(error,
                 fmt::format("cannot write {}: {}", wideToUtf8(requested.wstring()), reason));
        return false;
    };
    const std::filesystem::path path = throughLinks(requested);
    // A device (NUL, CON, COM1, \\.\...) first: some systems give no attributes for one.
    if (std::string why = notARegularFile(path); !why.empty()) {
        return refuse(why);
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return refuse("it is a folder");
        }
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return refuse("the file is read-only");
        }
    } else if (const DWORD code = ::GetLastError();
               code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
        return refuse(describeWin32(code));
    }
    const std::filesystem::path folder = folderOf(path);
    const DWORD folderAttributes = ::GetFileAttributesW(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES) {
        return refuse(fmt::format("the folder {} does not exist", wideToUtf8(folder.wstring())));
    }
    if ((folderAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return refuse(fmt::format("{} is not a folder", wideToUtf8(folder.wstring())));
    }
    return true;
}

bool writeFileAtomically(const std::filesystem::path& requested, std::string_view bytes,
                         std::string* error) {
    if (!canReplaceFile(requested, error)) {
        return false;
    }
    const auto fail = [&](DWORD code) {
        setError(error, fmt::format("cannot write {}: {}", wideToUtf8(requested.wstring()),
                                    describeWin32(code)));
        return false;
    };
    const std::filesystem::path path = throughLinks(requested);
    std::filesystem::path temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryBeside(path, attempt);
        created = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            return fail(::GetLastError());
        }
    }
    HandleGuard file(created);
    if (!file.valid()) {
        return fail(ERROR_FILE_EXISTS);
    }
    const bool written = writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get()) != 0;
    const DWORD writeError = ::GetLastError();
    if (!file.close() || !written) {
        const DWORD code = written ? ::GetLastError() : writeError;
        ::DeleteFileW(temporary.c_str());
        return fail(code);
    }
    // One rename, written through to the disk before it returns: the name holds the old file or
    // the new one, never a part of either.
    if (::MoveFileExW(temporary.c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return fail(code);
    }
    return true;
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::string* error) {
    const auto refuse = [&](const std::string& reason) {
        setError(error, fmt::format("cannot open {}: {}", wideToUtf8(path.wstring()), reason));
        return false;
    };
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return refuse("it is a folder");
    }
    HandleGuard file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return refuse(describeWin32(::GetLastError()));
    }
    // A device (NUL, CON, a COM port) may never end: it is not a file to read whole.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        return refuse("it is a device, not a file");
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr) == 0) {
            setError(error, fmt::format("cannot read {}: {}", wideToUtf8(path.wstring()),
                                        describeWin32(::GetLastError())));
            return false;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, n);
    }
    return true;
}

}  // namespace qelto::platform
