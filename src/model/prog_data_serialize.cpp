// The configuration block of document files. One function per direction would let the two drift
// apart; here every item is named once and the archive knows whether it writes or reads.
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "model/archive.h"
#include "model/prog_data.h"
#include "model/unit_types.h"
#include "platform/text_helpers.h"

namespace qelto::model {
namespace {

constexpr std::uint32_t kEndMarker = 999;
constexpr std::size_t kExtensionBlockSize = 100;
constexpr std::uint16_t kMaxPin = 9999;
// Files before format 4 knew six pumps and, when loaded, as many triggers.
constexpr std::size_t kOldPumps = 6;

void transfer(Archive& ar, MinSec& time) {
    ar.transfer(time.minutes);
    ar.transfer(time.seconds);
}

template <std::size_t N>
void transfer(Archive& ar, FixedText<N>& text) {
    ar.transfer(std::span<char>(text));
}

// The unit identity rides in the zeros at the end of the extension block, which every loader
// reads and drops: a marker ("QID" and the layout number 1), the serial number (one to ten
// digits) and the software version (up to five characters), each padded with zeros to its width.
// The marker and the padding keep stray bytes in an old file's tail from passing for one.
constexpr std::array<std::uint8_t, 4> kIdentityMarker{'Q', 'I', 'D', 1};
constexpr std::size_t kIdentitySerialWidth = 10;
constexpr std::size_t kIdentityVersionWidth = 6;
constexpr std::size_t kIdentityBytes =
    kIdentityMarker.size() + kIdentitySerialWidth + kIdentityVersionWidth;

// The text of a field padded with zeros, or nullopt when anything but zeros follows the text.
std::optional<std::string_view> paddedText(std::span<const std::uint8_t> field) {
    std::size_t length = 0;
    while (length < field.size() && field[length] != 0) {
        ++length;
    }
    for (std::size_t i = length; i < field.size(); ++i) {
        if (field[i] != 0) {
            return std::nullopt;
        }
    }
    return std::string_view(reinterpret_cast<const char*>(field.data()), length);
}

bool isSerialText(std::string_view text) {
    return !text.empty() && text.size() <= kIdentitySerialWidth && platform::allDigits(text);
}

void putText(std::span<std::uint8_t> field, std::string_view text) {
    std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

}  // namespace

void CProgData::serializeLegacyConfig(Archive& ar) {
    // Format 1 predates byte 64, and formats 1 to 3 end with the units' own 72 bytes.
    const std::size_t stored = tenPumpFormat != 0 ? legacyConfig.size() : lc::kLegacyUnitBytes;
    if (ar.isLoading() && firstFormatLoad != 0) {
        ar.transfer(std::span(legacyConfig).first(lc::kLegacyByte64));
        legacyConfig[lc::kLegacyByte64] = 0;
        ar.transfer(
            std::span(legacyConfig).subspan(lc::kLegacyByte64 + 1, stored - lc::kLegacyByte64 - 1));
    } else {
        ar.transfer(std::span(legacyConfig).first(stored));
    }
    if (ar.isStoring()) {
        return;
    }
    if (pulseFixFormat == 0 && legacyConfig[lc::kPulseCount] == 0) {
        legacyConfig[lc::kPulseCount] = 1;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        setLegacyPin(legacyConfig, i, std::min(legacyPin(legacyConfig, i), kMaxPin));
    }
    // All ten bytes are forced to digits, the last one too: units read the serial number as ten
    // digits, not as a terminated text.
    for (std::size_t i = lc::kSerialNo; i < lc::kSerialNo + lc::kSerialNoWidth; ++i) {
        legacyConfig[i] = std::clamp<std::uint8_t>(legacyConfig[i], '0', '9');
    }
}

void CProgData::serializeSteps(Archive& ar, std::size_t pumps, std::size_t triggers) {
    for (std::size_t p = 0; p < kPrograms; ++p) {
        for (std::size_t t = 0; t < triggers; ++t) {
            bool anyEnabled = false;
            for (std::size_t k = 0; k < pumps; ++k) {
                PumpStep& step = programs[p][t][k];
                transfer(ar, step.runTime);
                transfer(ar, step.delayTime);
                ar.transfer(pumpEnabled[p][t][k]);
            }
            ar.transfer(pulseCount[p][t]);
            if (ar.isLoading()) {
                for (std::size_t k = 0; k < kPumps; ++k) {
                    anyEnabled = anyEnabled || pumpEnabled[p][t][k] != 0;
                }
                // A trigger that no pulse could ever start is a damaged one, unless it doses
                // nothing anyway; give it the default.
                if (pulseCount[p][t] == 0 && !anyEnabled) {
                    pulseCount[p][t] = defaultPulseCount();
                }
            }
        }
    }
}

void CProgData::serializeExtension(Archive& ar) {
    const std::size_t start = ar.position();
    ar.transfer(relayMode);
    ar.transfer(ViewMode);
    ar.transfer(optionFlag1);
    ar.transfer(optionFlag0);
    if (descriptionFormat != 0) {
        transfer(ar, unitDescription);
    }
    ar.transfer(SafetyStopMode);
    ar.transfer(autofs_mode);
    transfer(ar, autofs_time);
    ar.transfer(autofs_accept_time);
    if (resetToFormat != 0) {
        ar.transfer(resetOption);
        ar.transfer(resetProgChoice);
        ar.transfer(FSVersion);
        if (ar.isLoading() && (resetOption > 21 || resetProgChoice > 20)) {
            resetOption = 2;
            resetProgChoice = 1;
        }
    }
    // The block keeps its size whatever a format puts into it; newer items take from the zeros.
    const std::size_t tail = kExtensionBlockSize - (ar.position() - start);
    if (resetToFormat != 0) {
        serializeIdentity(ar, tail);
    } else {
        ar.pad(tail);
    }
}

void CProgData::serializeIdentity(Archive& ar, std::size_t tailBytes) {
    if (tailBytes < kIdentityBytes) {
        ar.pad(tailBytes);
        return;
    }
    std::vector<std::uint8_t> tail(tailBytes, 0);
    const auto marker = std::span(tail).first(kIdentityMarker.size());
    const auto serial = std::span(tail).subspan(marker.size(), kIdentitySerialWidth);
    const auto version =
        std::span(tail).subspan(marker.size() + kIdentitySerialWidth, kIdentityVersionWidth);
    // A document without a unit's identity keeps the zeros older versions wrote.
    const std::string_view serialText = textOf(SerialNoUnit);
    if (ar.isStoring() && identitySource != IdentitySource::None && isSerialText(serialText)) {
        std::copy(kIdentityMarker.begin(), kIdentityMarker.end(), marker.begin());
        putText(serial, serialText);
        putText(version, textOf(SoftwareVersion).substr(0, kIdentityVersionWidth - 1));
    }
    ar.transfer(std::span(tail));
    if (ar.isStoring() || !std::equal(marker.begin(), marker.end(), kIdentityMarker.begin())) {
        return;
    }
    const auto loadedSerial = paddedText(serial);
    const auto loadedVersion = paddedText(version);
    if (loadedSerial && isSerialText(*loadedSerial) && loadedVersion &&
        loadedVersion->size() < kIdentityVersionWidth) {
        setText(SerialNoUnit, *loadedSerial);
        setText(SoftwareVersion, *loadedVersion);
        identitySource = IdentitySource::File;
    }
}

void CProgData::Serialize(Archive& ar) {
    const std::size_t pumps = tenPumpFormat != 0 ? kPumps : kOldPumps;
    const std::size_t triggers = ar.isStoring() ? kTriggers : pumps;

    serializeLegacyConfig(ar);

    ar.transfer(unitType);
    if (ar.isLoading() && tenPumpFormat == 0) {
        unitType = OldTypeToNewType(unitType);
    }
    transfer(ar, customerName1);
    transfer(ar, customerName2);
    ar.transfer(std::span(pumpSpeed).first(pumps));
    transfer(ar, spareText);
    ar.transfer(resetDelayOff);
    if (firstFormatLoad == 0) {
        ar.transfer(resetDelayLastInput);
    }
    ar.transfer(accessCode);
    transfer(ar, resetDelayTime);
    transfer(ar, flushValveTime);
    transfer(ar, auxTime);
    ar.transfer(auxByte);
    for (auto& p : pin) {
        ar.transfer(p);
    }

    serializeSteps(ar, pumps, triggers);

    if (namesPresent != 0) {
        ar.transferString(comments);
        ar.transfer(spareLaundryByte);
        for (auto& name : progName) {
            ar.transferString(name);
        }
    }
    if (tenPumpFormat != 0) {
        for (auto& name : pumpName) {
            ar.transferString(name);
        }
        for (auto& range : pumpSpeedRange) {
            ar.transfer(range);
        }
        std::uint32_t namesValid = pumpNamesValid;
        ar.transfer(namesValid);
        pumpNamesValid = 1;
    }
    if (doseFormat != 0) {
        for (auto& calibration : pumpCalibration) {
            ar.transfer(calibration);
        }
        for (auto& program : programs) {
            for (auto& trigger : program) {
                for (std::size_t k = 0; k < pumps; ++k) {
                    ar.transfer(trigger[k].dose);
                }
            }
        }
    }
    if (flushTypeFormat != 0) {
        ar.transfer(FlushType);
    }
    if (extensionFormat != 0) {
        serializeExtension(ar);
    }
    if (tenPumpFormat != 0) {
        std::uint32_t marker = kEndMarker;
        ar.transfer(marker);
    }
}

}  // namespace qelto::model
