// The broken-down time of a moment, local or UTC, safe from any thread on every system.
#pragma once

#include <ctime>

namespace qelto::platform {

// False when the moment cannot be broken down (out of the system's range).
inline bool localTime(std::time_t when, std::tm& out) {
#ifdef _WIN32
    return ::localtime_s(&out, &when) == 0;
#else
    return ::localtime_r(&when, &out) != nullptr;
#endif
}

inline bool utcTime(std::time_t when, std::tm& out) {
#ifdef _WIN32
    return ::gmtime_s(&out, &when) == 0;
#else
    return ::gmtime_r(&when, &out) != nullptr;
#endif
}

}  // namespace qelto::platform
