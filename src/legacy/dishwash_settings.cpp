#include "legacy/dishwash_settings.h"

#include "legacy/device_info.h"

namespace qelto::legacy {

bool receiveDishwashSettings(LegacyLink& link, DishwashReading& reading) {
    const ByteSource wire = [&link](std::uint8_t& byte) { return link.SCI_Rx(byte); };
    return parseDishwashGeneral(wire, reading.general) &&
           parseDishwashStream(wire, hasUnitTexts(link.deviceInfo()), reading.stream);
}

}  // namespace qelto::legacy
