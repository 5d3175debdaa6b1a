// What a legacy command comes back with. The numbers are the ones callers of the older link
// have always tested for, so they stay.
#pragma once

namespace qelto::legacy {

enum class LegacyResult : int {
    Failed = 0,           // time-out, wrong acknowledge, or the port failed mid-way
    PortUnavailable = 1,  // the serial port did not open; LegacyLink::openError() says why
    Ok = 5,
    PasswordRefused = 10,  // the unit answered the password with 0
};

}  // namespace qelto::legacy
