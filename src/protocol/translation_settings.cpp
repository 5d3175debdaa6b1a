// The unit-wide settings, calibration, automatic flush, reset-to and identity parts.
#include <fmt/format.h>

#include <array>
#include <limits>

#include "model/unit_types.h"
#include "platform/text_helpers.h"
#include "protocol/translation_parts.h"

namespace qelto::protocol {

std::uint8_t unitLanguageCode(int applicationLanguage, bool software107OrNewer) {
    // Application languages 1..9: English, Spanish, French, German, Italian, Czech, Polish,
    // American English, Dutch. The unit numbers its languages its own way.
    constexpr std::array<std::uint8_t, 9> kUnitCodes{0, 2, 1, 3, 7, 6, 5, 8, 4};
    constexpr int kPortuguese = 10;
    constexpr std::uint8_t kUnitPortuguese = 9;
    if (applicationLanguage >= 1 && applicationLanguage <= static_cast<int>(kUnitCodes.size())) {
        return kUnitCodes[static_cast<std::size_t>(applicationLanguage - 1)];
    }
    if (applicationLanguage == kPortuguese && software107OrNewer) {
        return kUnitPortuguese;
    }
    return 0;
}

std::uint32_t unitSerialFromText(std::string_view text) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (const char c : text) {
        if (!platform::isDigit(c)) {
            break;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kMax) {
            return static_cast<std::uint32_t>(kMax);
        }
    }
    return static_cast<std::uint32_t>(value);
}

namespace translate {
namespace {

constexpr std::uint32_t kLargestNineDigits = 999'999'999;

std::string nineDigits(std::uint32_t serial) {
    return fmt::format("{:09}", serial);
}

std::string versionText(const std::array<std::uint8_t, 3>& version) {
    return {'V', static_cast<char>(version[0]), '.', static_cast<char>(version[1]),
            static_cast<char>(version[2])};
}

// The document's processor serial has room for nine digits only. Cutting a ten-digit serial
// would show a different, plausible number; an empty text says plainly that it is not known.
std::string documentCpuSerial(std::uint32_t serial) {
    return serial <= kLargestNineDigits ? nineDigits(serial) : std::string{};
}

// What the document and the copy take from the globals in the same way.
template <typename Target>
void takeGlobals(const GlobalsPart& globals, Target& to) {
    const GlobalBlock1& b1 = globals.block1;
    const GlobalBlock2& b2 = globals.block2;
    to.unitType = b1.unitType;
    to.pin = b1.pins;
    to.accessCode = b1.accessCode;
    to.auxTime = minSecOf(b1.auxTime);
    to.auxByte = b1.auxByte;
    to.resetDelayTime = minSecOf(b1.resetDelayTime);
    to.resetDelayOff = b1.resetDelayOff;
    to.resetDelayLastInput = b1.resetDelayLastInput;
    to.optionFlag0 = b1.optionFlag0 ? 1 : 0;
    to.optionFlag1 = b1.optionFlag1 ? 1 : 0;
    to.ViewMode = b1.viewMode;
    to.FlushType = b1.flushType;
    to.relayMode = b1.relayMode != 0 ? 1 : 0;
    to.pumpSpeed = b2.pumpSpeed;
    for (std::size_t i = 0; i < model::kPumps; ++i) {
        to.pumpSpeedRange[i] = b2.pumpSpeedRange[i];
    }
    to.flushValveTime = minSecOf(b2.flushValveTime);
}

}  // namespace

void globalsFromDocument(const model::CProgData& config, GlobalsPart& globals,
                         const TranslationContext& context) {
    GlobalBlock1& b1 = globals.block1;
    GlobalBlock2& b2 = globals.block2;
    globals.pumpCount = model::unitPumpCount(config.unitType);
    // SetGlobals never sends the serial; it rides here so that the record says which unit the
    // settings are for, as a unit's own reply does.
    const std::uint32_t serial = unitSerialFromText(model::textOf(config.SerialNoUnit));
    b1.unitSerial = serial;
    b2.unitSerial = serial;

    b1.unitType = config.unitType;
    b1.language = unitLanguageCode(context.language, context.software107OrNewer);
    b1.pins = config.pin;
    b1.accessCode = config.accessCode;
    b1.auxTime = secondsOf(config.auxTime);
    b1.auxByte = config.auxByte;
    b1.resetDelayTime = secondsOf(config.resetDelayTime);
    b1.resetDelayOff = config.resetDelayOff;
    b1.resetDelayLastInput = config.resetDelayLastInput;
    b1.optionFlag0 = config.optionFlag0 != 0;
    b1.optionFlag1 = config.optionFlag1 != 0;
    b1.bytes26to28 = {};
    b1.viewMode = byteOf(config.ViewMode);
    b1.flushType = byteOf(config.FlushType);
    b1.relayMode = config.relayMode != 0 ? 1 : 0;
    b1.safetyStopMode = byteOf(config.SafetyStopMode);

    b2.pumpSpeed = config.pumpSpeed;
    for (std::size_t i = 0; i < model::kPumps; ++i) {
        // The packet adds one modulo 4 on the way out; only the range modulo 4 can matter.
        b2.pumpSpeedRange[i] = static_cast<std::uint8_t>(config.pumpSpeedRange[i] % 4);
    }
    b2.flushValveTime = secondsOf(config.flushValveTime);
    b2.words18to21 = {};
}

// The unit's serial in the globals is left alone: the document takes its serial texts from the
// identity only, which a program read asks for only when the operator wants serial numbers.
void globalsToDocument(const GlobalsPart& globals, model::CProgData& config,
                       TranslationContext& context) {
    takeGlobals(globals, config);
    config.SafetyStopMode = globals.block1.safetyStopMode;
    context.pumpCount = model::unitPumpCount(config.unitType);
}

void globalsToCopy(const GlobalsPart& globals, model::CommsCopy& copy, model::CProgData& config) {
    takeGlobals(globals, copy);
    copy.CommsNPumps = model::unitPumpCount(copy.unitType);
    // The copy has no safety-stop field; the settings report reads it from the configuration.
    config.SafetyStopMode = globals.block1.safetyStopMode;
}

// Calibrations beyond 16 bits keep their low 16 bits, the width a unit stores.
void calibrationFromDocument(const model::CProgData& config, CalibrationPart& calibration) {
    for (std::size_t k = 0; k < model::kPumps; ++k) {
        calibration.pumps[k].volume = static_cast<std::uint16_t>(config.pumpCalibration[k]);
    }
}

// The calibration date is the unit's business; the document has no place for it.
void calibrationToDocument(const CalibrationPart& calibration, model::CProgData& config) {
    for (std::size_t k = 0; k < model::kPumps; ++k) {
        config.pumpCalibration[k] = calibration.pumps[k].volume;
    }
}

void calibrationToCopy(const CalibrationPart& calibration, model::CommsCopy& copy) {
    for (std::size_t k = 0; k < model::kPumps; ++k) {
        copy.pumpCalibration[k] = calibration.pumps[k].volume;
    }
}

void autoFsFromDocument(const model::CProgData& config, AutoFs& autoFs) {
    autoFs.mode = byteOf(config.autofs_mode);
    autoFs.time = secondsOf(config.autofs_time);
    autoFs.acceptTime = config.autofs_accept_time;
}

void autoFsToDocument(const AutoFs& autoFs, model::CProgData& config) {
    config.autofs_mode = autoFs.mode;
    config.autofs_time = minSecOf(autoFs.time);
    config.autofs_accept_time = autoFs.acceptTime;
}

void resetToFromDocument(const model::CProgData& config, ResetToPart& resetTo) {
    resetTo.resetOption = config.resetOption;
    resetTo.resetProgChoice = config.resetProgChoice;
    resetTo.FSVersion = config.FSVersion;
}

void resetToToDocument(const ResetToPart& resetTo, model::CProgData& config) {
    config.resetOption = resetTo.resetOption;
    config.resetProgChoice = resetTo.resetProgChoice;
    config.FSVersion = resetTo.FSVersion;
}

void resetToToCopy(const ResetToPart& resetTo, model::CommsCopy& copy) {
    copy.resetOption = resetTo.resetOption;
    copy.resetProgChoice = resetTo.resetProgChoice;
    copy.FSVersion = resetTo.FSVersion;
}

void identityToDocument(const IdentityPart& identity, model::CProgData& config,
                        TranslationContext& context) {
    const UnitIdentity& unit = identity.unit;
    config.unitType = unit.unitTypeIndex;
    context.pumpCount = model::unitPumpCount(config.unitType);
    model::setText(config.SoftwareVersion, versionText(unit.version));
    model::setText(config.SerialNoUnit, nineDigits(unit.serial));
    model::setText(config.SerialNoCPU, documentCpuSerial(unit.cpuSerial));
    config.identitySource = model::IdentitySource::UnitRead;
}

void identityToCopy(const IdentityPart& identity, model::CommsCopy& copy) {
    const UnitIdentity& unit = identity.unit;
    copy.unitType = unit.unitTypeIndex;
    copy.CommsNPumps = model::unitPumpCount(copy.unitType);
    model::setText(copy.SoftwareVersion, versionText(unit.version));
    const std::string serial = nineDigits(unit.serial);
    model::setText(copy.CommsSerNo, serial);
    model::setText(copy.CommsSerialNo, serial);
    model::setText(copy.SerialNoCPU, nineDigits(unit.cpuSerial));
}

}  // namespace translate
}  // namespace qelto::protocol
