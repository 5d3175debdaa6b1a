// Who is at the keyboard and on which machine, as the unit history records them.
#pragma once

#include <string>

namespace qelto::platform {

// The login name: the account's name in the password database, else $USER, else "unknown".
std::string userName();

// This machine's host name, else "unknown".
std::string hostName();

}  // namespace qelto::platform
