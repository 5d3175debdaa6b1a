#include "comms/software_version.h"

#include <algorithm>

#include "protocol/unit_reads.h"

namespace qelto::comms {

std::string softwareVersionText(const SoftwareVersion& version) {
    return {'V', static_cast<char>(version[0]), '.', static_cast<char>(version[1]),
            static_cast<char>(version[2])};
}

bool versionAtLeast(const SoftwareVersion& unit, const SoftwareVersion& wanted) {
    return !std::lexicographical_compare(unit.begin(), unit.end(), wanted.begin(), wanted.end());
}

bool unitSoftwareAtLeast(protocol::UnitChannel& channel, const SoftwareVersion& wanted) {
    protocol::IdentityPart polled;
    if (!protocol::SimplePoll(polled, channel, protocol::kOperationAttempts)) {
        return false;
    }
    return versionAtLeast(polled.unit.version, wanted);
}

}  // namespace qelto::comms
