#include "sim/dongle_setup.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <string_view>

#include "sim/ble_dongle_port.h"
#include "sim/rf_dongle_port.h"
#include "sim/sim_state.h"

namespace qelto::sim {

namespace {

constexpr std::size_t kMaxModuleName = 12;

// "FIRST:NUMBER[:FILE]", split at the first two colons; a file name may hold colons itself.
struct UnitOption {
    std::string first;
    unsigned number = 0;
    std::string stateFile;
};

UnitOption parseUnitOption(const std::string& text, const std::string& option, unsigned maxNumber) {
    const auto bad = [&] {
        return StateError(
            option + " wants " +
            (option == "--rf-unit" ? "CHANNEL:SIGNAL[:STATEFILE]" : "NAME:SIGNAL[:STATEFILE]") +
            ", with SIGNAL from 0 to " + std::to_string(maxNumber) + ", not \"" + text + "\"");
    };
    const auto colon = text.find(':');
    if (colon == std::string::npos) {
        throw bad();
    }
    const auto second = text.find(':', colon + 1);
    const std::string_view number = std::string_view(text).substr(
        colon + 1, second == std::string::npos ? std::string::npos : second - colon - 1);
    UnitOption unit;
    unit.first = text.substr(0, colon);
    const auto [end, ec] =
        std::from_chars(number.data(), number.data() + number.size(), unit.number);
    if (ec != std::errc() || end != number.data() + number.size() || number.empty() ||
        unit.number > maxNumber) {
        throw bad();
    }
    if (second != std::string::npos) {
        unit.stateFile = text.substr(second + 1);
        if (unit.stateFile.empty()) {
            throw bad();
        }
    }
    return unit;
}

std::unique_ptr<LaundryPort> unitFor(SimSetup setup, const UnitOption& unit, RequestLog* log) {
    if (!unit.stateFile.empty()) {
        setup.stateFile = unit.stateFile;
    }
    return makeLaundryPort(setup, log);
}

std::uint8_t parseChannel(const std::string& text) {
    unsigned channel = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), channel);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || channel > 254) {
        throw StateError("an RF channel is a number from 0 to 254, not \"" + text + "\"");
    }
    return static_cast<std::uint8_t>(channel);
}

std::unique_ptr<UnitPort> makeRfDongle(const SimSetup& setup, const DongleSetup& dongle,
                                       RequestLog* log) {
    std::vector<RfUnit> units;
    std::set<std::uint8_t> channels;
    for (const std::string& text : dongle.rfUnits) {
        const UnitOption unit = parseUnitOption(text, "--rf-unit", 255);
        const std::uint8_t channel = parseChannel(unit.first);
        if (!channels.insert(channel).second) {
            throw StateError("two units on RF channel " + unit.first +
                             " would answer at once; give each its own channel");
        }
        units.push_back(
            {channel, static_cast<std::uint8_t>(unit.number), unitFor(setup, unit, log)});
    }
    std::set<std::uint8_t> refused;
    for (const unsigned channel : dongle.refusedChannels) {
        refused.insert(parseChannel(std::to_string(channel)));
    }
    return std::make_unique<RfDonglePort>(std::move(units), std::move(refused), log);
}

bool validModuleName(const std::string& name) {
    return !name.empty() && name.size() <= kMaxModuleName &&
           std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

std::unique_ptr<UnitPort> makeBleDongle(const SimSetup& setup, const DongleSetup& dongle,
                                        RequestLog* log) {
    if (dongle.bluetoothModules.size() > kMaxBleModules) {
        throw StateError("the Bluetooth dongle lists at most 10 modules");
    }
    std::vector<BleModule> modules;
    for (const std::string& text : dongle.bluetoothModules) {
        const UnitOption unit = parseUnitOption(text, "--bt-module", 127);
        if (!validModuleName(unit.first)) {
            throw StateError(
                "a module name is 1 to 12 printable characters without spaces, not \"" +
                unit.first + "\"");
        }
        modules.push_back(
            {{unit.first, static_cast<std::uint8_t>(unit.number)}, unitFor(setup, unit, log)});
    }
    return std::make_unique<BleDonglePort>(std::move(modules), log);
}

}  // namespace

std::unique_ptr<UnitPort> makeDongle(const SimSetup& setup, const DongleSetup& dongle,
                                     RequestLog* log) {
    if (!dongle.rf && !dongle.bluetooth) {
        return nullptr;
    }
    if (setup.kind != "laundry") {
        throw StateError(
            "only a --kind laundry unit sits behind a dongle; older units have no "
            "radio");
    }
    return dongle.rf ? makeRfDongle(setup, dongle, log) : makeBleDongle(setup, dongle, log);
}

}  // namespace qelto::sim
