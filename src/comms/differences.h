// What a verify found, as the front ends show it: one difference per setting, and the line that
// describes it ("program 3, trigger 2, pump 1: run time unit 0:30, document 0:45").
#pragma once

#include "protocol/verify.h"

namespace qelto::comms {

using protocol::describe;
using protocol::Difference;

}  // namespace qelto::comms
