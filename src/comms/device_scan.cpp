#include "comms/device_scan.h"

#include <cstdio>
#include <string>

#include "protocol/unit_reads.h"

namespace qelto::comms {

using namespace protocol;

namespace {

// A scan asks each unit only twice: a silent address is the common case, not a fault.
constexpr int kIdentifyAttempts = 2;
constexpr std::uint8_t kHighestUnitType = 19;

std::string formatted(const char* format, const std::string& text, std::uint32_t number) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, text.c_str(), number);
    return buffer;
}

}  // namespace

DeviceScanner::DeviceScanner(DeviceTable& table, ScanSetup setup, LinkState& linkState,
                             const std::atomic<bool>& abort, OperatorPrompts& prompts,
                             TextLookup text)
    : table_(table),
      setup_(std::move(setup)),
      linkState_(linkState),
      abort_(abort),
      prompts_(prompts),
      text_(std::move(text)) {}

std::vector<std::string> DeviceScanner::scanAllLinks() {
    prompts_.status(text_ ? text_(kStatusScanning) : std::string{});
    prompts_.progressRange(kScanProgressSteps);
    OnScanForUnit();
    prompts_.progressHide();
    std::vector<std::string> lines = table_.listLines();
    const int status = lines.empty() ? kStatusNoUnitFound : kStatusUnitsListed;
    prompts_.status(text_ ? text_(status) : std::string{});
    return lines;
}

void DeviceScanner::OnScanForUnit() {
    linkState_.fastScan = true;
    table_.clear();
    links_ = {};
    std::size_t next = 0;

    links_.serial = setup_.openSerial ? setup_.openSerial() : nullptr;
    if (links_.serial) {
        SerialPacketPath path(*links_.serial, linkState_, setup_.timings, setup_.sleep);
        PacketLink link(path, setup_.tap, abort_, setup_.sleep);
        UnitChannel channel(link);
        RfSettingsReply dongle;
        if (getRfSettings(kAnyRfChannel, dongle, channel)) {
            scanRadioChannels(channel, DeviceHandle::SerialPort, LinkType::RfSerial, next);
        } else if (!abort_ &&
                   IdentifyUnit(next, DeviceHandle::SerialPort, LinkType::Serial, channel)) {
            ++next;
        } else {
            links_.serial.reset();
        }
    }

    links_.hid = !abort_ && setup_.openHid ? setup_.openHid() : nullptr;
    if (links_.hid) {
        // Whatever answers on USB is taken for a radio dongle: a unit's own USB interface would
        // not answer the radio settings request, and the channel loop says so.
        HidPacketPath path(*links_.hid, setup_.hidReplyTimeout);
        PacketLink link(path, setup_.tap, abort_, setup_.sleep);
        UnitChannel channel(link);
        scanRadioChannels(channel, DeviceHandle::Hid, LinkType::RfUsb, next);
    }
    linkState_.fastScan = false;
}

bool DeviceScanner::scanRadioChannels(UnitChannel& channel, DeviceHandle handle, LinkType type,
                                      std::size_t& next) {
    for (unsigned rf = kFirstRfChannel; rf < kRfChannelLimit; rf += kRfChannelStep) {
        if (abort_) {
            return true;
        }
        const auto rfChannel = static_cast<std::uint8_t>(rf);
        RfSettingsReply settings;
        if (!getRfSettings(rfChannel, settings, channel)) {
            if (!channel.cancelled()) {
                char text[48];
                std::snprintf(text, sizeof text, "Error setting RF channel %u", rf);
                prompts_.messageText(text, MessageIcon::Error);
            }
            return false;
        }
        if (IdentifyUnit(next, handle, type, channel)) {
            table_[next].signal = ReadSignalStrength(channel);
            table_[next].rfChannel = rfChannel;
            ++next;
        }
        prompts_.progressStep();
    }
    return true;
}

bool DeviceScanner::IdentifyUnit(std::size_t n, DeviceHandle handle, LinkType linkType,
                                 UnitChannel& channel) {
    if (n >= kDeviceTableSize) {
        return false;
    }
    IdentityPart polled;
    if (!SimplePoll(polled, channel, kIdentifyAttempts)) {
        return false;
    }
    const std::uint8_t productCode = polled.unit.bytes6to8[0];
    if (productCode == 0 || polled.unit.unitTypeIndex > kHighestUnitType) {
        return false;
    }
    const std::string product =
        productCode == 1 ? (text_ ? text_(kProductName) : std::string{}) : kUnrecognisedProduct;

    DeviceEntry& entry = table_[n];
    entry = {};
    entry.valid = 1;
    entry.serialNo = polled.unit.serial;
    entry.linkType = linkType;
    entry.label = formatted("%s - %09u", product, polled.unit.serial);
    entry.handle = handle;

    TextSlot<kUnitDescriptionSlot> description{};
    if (GetUnitDescription(description, channel)) {
        entry.label += " - " + slotText(description);
    }
    return true;
}

std::uint8_t DeviceScanner::ReadSignalStrength(UnitChannel& channel) {
    RfSettingsReply settings;
    if (!getRfSettings(kAnyRfChannel, settings, channel)) {
        return kNoSignal;
    }
    return rfSignalStrength(settings);
}

}  // namespace qelto::comms
