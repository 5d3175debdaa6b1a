#include "platform/serial_rates.h"

#include <algorithm>

namespace qelto::platform {

bool isSupportedBaudRate(unsigned baud) {
    return std::find(kSerialBaudRates.begin(), kSerialBaudRates.end(), baud) !=
           kSerialBaudRates.end();
}

std::string supportedBaudRates() {
    std::string text;
    for (const unsigned rate : kSerialBaudRates) {
        if (!text.empty()) {
            text += ", ";
        }
        text += std::to_string(rate);
    }
    return text;
}

}  // namespace qelto::platform
