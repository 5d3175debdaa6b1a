// Closes a Windows handle on every early return; shared by the serial port, HID and files.
#pragma once

#include <windows.h>

#include <utility>

namespace qelto::platform {

class HandleGuard {
  public:
    explicit HandleGuard(HANDLE handle) : handle_(handle) {}
    ~HandleGuard() { close(); }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    HANDLE get() const { return handle_; }
    // CreateFileW fails with INVALID_HANDLE_VALUE, CreateEventW with nullptr.
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // False when closing failed: for a file just written, the last of its data did not land.
    bool close() {
        const bool ok = !valid() || ::CloseHandle(handle_) != 0;
        handle_ = nullptr;
        return ok;
    }
    HANDLE release() { return std::exchange(handle_, nullptr); }

  private:
    HANDLE handle_;
};

}  // namespace qelto::platform
