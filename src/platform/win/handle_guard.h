// Closes a Windows handle on every early return; shared by the serial port and the HID device.
#pragma once

#include <windows.h>

#include <utility>

namespace qelto::platform {

class HandleGuard {
  public:
    explicit HandleGuard(HANDLE handle) : handle_(handle) {}
    ~HandleGuard() {
        // CreateFileW fails with INVALID_HANDLE_VALUE, CreateEventW with nullptr.
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, nullptr); }

  private:
    HANDLE handle_;
};

}  // namespace qelto::platform
