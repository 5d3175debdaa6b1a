#include "legacy/laundry_config.h"

#include <algorithm>
#include <vector>

#include "legacy/config_stream.h"
#include "legacy/device_info.h"
#include "legacy/unit_texts.h"

namespace qelto::legacy {
namespace {

bool receiveImage(LegacyLink& link, model::LegacyConfig& image) {
    std::vector<std::uint8_t> received;
    received.reserve(kConfigStreamSize);
    std::uint8_t byte = 0;
    while (received.size() < kConfigStreamSize && link.SCI_Rx(byte)) {
        received.push_back(byte);
    }
    decodeConfigStream(received, image);
    return received.size() == kConfigStreamSize;
}

bool sendImage(LegacyLink& link, const model::LegacyConfig& image) {
    const ConfigStream stream = encodeConfigStream(image);
    return std::all_of(stream.begin(), stream.end(),
                       [&link](std::uint8_t byte) { return link.SCI_Tx(byte); });
}

bool receiveTexts(LegacyLink& link, model::CProgData& config) {
    LegacyProgramNames names;
    std::copy(config.progName.begin(), config.progName.end(), names.begin());
    if (!GetComments(link, config.comments) || !getProgramNames(link, names)) {
        return false;
    }
    std::copy(names.begin(), names.end(), config.progName.begin());
    return true;
}

bool sendTexts(LegacyLink& link, const model::CProgData& config) {
    LegacyProgramNames names;
    std::copy(config.progName.begin(), config.progName.end(), names.begin());
    return sendProgramNames(link, names) && sendComments(link, config.comments);
}

}  // namespace

static_assert(kLegacyPrograms == model::kPrograms);

bool receiveLaundryConfig(LegacyLink& link, model::CProgData& config) {
    return receiveImage(link, config.legacyConfig) &&
           (!hasUnitTexts(link.deviceInfo()) || receiveTexts(link, config));
}

bool sendLaundryConfig(LegacyLink& link, const model::CProgData& config) {
    return sendImage(link, config.legacyConfig) &&
           (!hasUnitTexts(link.deviceInfo()) || sendTexts(link, config));
}

}  // namespace qelto::legacy
