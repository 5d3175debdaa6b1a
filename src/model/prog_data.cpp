#include "model/prog_data.h"

#include <algorithm>
#include <stdexcept>

namespace qelto::model {
namespace {

template <std::size_t N>
void copyFromLegacy(FixedText<N>& field, const LegacyConfig& c, std::size_t at, std::size_t width) {
    field.fill('\0');
    std::copy_n(c.begin() + static_cast<std::ptrdiff_t>(at), std::min(width, N), field.begin());
}

void checkIndex(std::size_t index, std::size_t count, const char* what) {
    if (index >= count) {
        throw std::out_of_range(std::string(what) +
                                " number out of range: " + std::to_string(index));
    }
}

}  // namespace

void CProgData::ResetAll(const PumpNameDefaults& pumpNames) {
    firstFormatLoad = 0;
    spareLaundryByte = 0;

    // The defaults live in the legacy image; the live fields are copied from it below. The spare
    // text, the reset-delay-off flag, byte 64 and the third bytes of the times are the unit's and
    // are left as they are.
    auto& c = legacyConfig;
    std::fill_n(c.begin() + lc::kCustomerName1, lc::kNameWidth, 0);
    std::fill_n(c.begin() + lc::kCustomerName2, lc::kNameWidth, 0);
    c[lc::kUnitType] = kDefaultUnitType;
    c[lc::kPumpSpeed] = 80;
    c[lc::kAccessCode] = 1;
    c[lc::kPulseCount] = 1;
    setLegacyTime(c, lc::kResetDelayTime, 0, 20);
    setLegacyTime(c, lc::kFlushValveTime, 0, 0);
    setLegacyTime(c, lc::kAuxTime, 0, 0);
    setLegacyTime(c, lc::kRunTime, 0, 45);
    setLegacyTime(c, lc::kDelayTime, 0, 0);
    c[lc::kResetDelayLastInput] = 0;
    setLegacyPin(c, 0, 6179);
    setLegacyPin(c, 1, 7159);
    setLegacyPin(c, 2, 7318);
    c[lc::kAuxByte] = 0;
    constexpr char kSerial[lc::kSerialNoWidth] = "000000000";
    std::copy_n(kSerial, lc::kSerialNoWidth, c.begin() + lc::kSerialNo);
    c[lc::kPumpCalibration] = 0;
    constexpr char kVersion[lc::kSoftwareVersionWidth] = "V-.--";
    std::copy_n(kVersion, lc::kSoftwareVersionWidth, c.begin() + lc::kSoftwareVersion);

    pumpSpeed.fill(defaultPumpSpeed());
    for (auto& program : pulseCount) {
        program.fill(defaultPulseCount());
    }
    for (auto& program : pumpEnabled) {
        for (auto& trigger : program) {
            trigger.fill(0);
        }
    }

    accessCode = c[lc::kAccessCode];
    resetDelayTime.minutes = c[lc::kResetDelayTime];
    resetDelayTime.seconds = c[lc::kResetDelayTime + 1];
    resetDelayOff = c[lc::kResetDelayOff];
    resetDelayLastInput = c[lc::kResetDelayLastInput];
    auxTime.minutes = c[lc::kAuxTime];
    auxTime.seconds = c[lc::kAuxTime + 1];
    flushValveTime.minutes = c[lc::kFlushValveTime];
    flushValveTime.seconds = c[lc::kFlushValveTime + 1];
    auxByte = c[lc::kAuxByte];
    unitType = c[lc::kUnitType];
    copyFromLegacy(spareText, c, lc::kSpareText, lc::kSpareTextWidth);
    copyFromLegacy(SerialNoUnit, c, lc::kSerialNo, lc::kSerialNoWidth);
    copyFromLegacy(SoftwareVersion, c, lc::kSoftwareVersion, lc::kSoftwareVersionWidth);
    copyFromLegacy(customerName1, c, lc::kCustomerName1, lc::kNameWidth);
    copyFromLegacy(customerName2, c, lc::kCustomerName2, lc::kNameWidth);
    for (std::size_t i = 0; i < pin.size(); ++i) {
        pin[i] = legacyPin(c, i);
    }

    namesPresent = 0;
    comments.clear();
    pumpSpeed.fill(defaultPumpSpeed());
    pumpCalibration.fill(c[lc::kPumpCalibration]);

    const MinSec run = defaultRunTime();
    const MinSec delay = defaultDelayTime();
    for (auto& program : programs) {
        for (auto& trigger : program) {
            for (auto& step : trigger) {
                step.runTime = run;
                step.delayTime = delay;
            }
        }
    }

    for (auto& name : progName) {
        name.clear();
    }
    pumpName = pumpNames.defaultPumpNames(unitType);
    pumpSpeedRange.fill(3);

    pumpNamesValid = 1;
    FlushType = 0;
    relayMode = 0;
    ViewMode = 1;
    optionFlag1 = 1;
    optionFlag0 = 1;
    pumpCalibration.fill(0);

    unitDescription.fill('\0');
    autofs_mode = 0;
    SafetyStopMode = 0;
    autofs_time.minutes = 0;
    autofs_time.seconds = 30;
    autofs_accept_time = 1;
    resetOption = 2;
    resetProgChoice = 1;
    FSVersion = 0;
    identitySource = IdentitySource::None;
}

bool CProgData::CopyProgram(std::uint8_t src, std::uint8_t dest) {
    src &= 0x1F;
    dest &= 0x1F;
    if (src >= kPrograms || dest >= kPrograms) {
        return false;
    }
    programs[dest] = programs[src];
    pumpEnabled[dest] = pumpEnabled[src];
    pulseCount[dest] = pulseCount[src];
    return true;
}

bool CProgData::ClearProgram(std::uint8_t p) {
    if (p >= kPrograms) {
        return false;
    }
    pulseCount[p].fill(defaultPulseCount());
    for (auto& trigger : pumpEnabled[p]) {
        trigger.fill(0);
    }
    const MinSec run = defaultRunTime();
    const MinSec delay = defaultDelayTime();
    for (auto& trigger : programs[p]) {
        for (auto& step : trigger) {
            step.runTime = run;
            step.delayTime = delay;
        }
    }
    return true;
}

std::uint8_t& CProgData::pumpSpeedOf(unsigned pumpNumber) {
    checkIndex(pumpNumber - 1, kPumps, "pump");
    return pumpSpeed[pumpNumber - 1];
}

std::uint32_t& CProgData::PumpCalibration(unsigned pumpNumber) {
    checkIndex(pumpNumber - 1, kPumps, "pump");
    return pumpCalibration[pumpNumber - 1];
}

PumpStep& CProgData::Step(std::uint8_t program, std::uint8_t trigger, std::uint8_t pump) {
    checkIndex(program, kPrograms, "program");
    checkIndex(trigger, kTriggers, "trigger");
    checkIndex(pump, kPumps, "pump");
    return programs[program][trigger][pump];
}

std::uint8_t& CProgData::pumpEnabledAt(std::uint8_t program, std::uint8_t trigger,
                                       std::uint8_t pump) {
    checkIndex(program, kPrograms, "program");
    checkIndex(trigger, kTriggers, "trigger");
    checkIndex(pump, kPumps, "pump");
    return pumpEnabled[program][trigger][pump];
}

std::uint8_t& CProgData::pulseCountAt(std::uint8_t program, std::uint8_t trigger) {
    checkIndex(program, kPrograms, "program");
    checkIndex(trigger, kTriggers, "trigger");
    return pulseCount[program][trigger];
}

void CProgData::setFormatFlags(const FormatFlags& flags) {
    firstFormatLoad = flags.firstFormat ? 1 : 0;
    namesPresent = flags.names ? 1 : 0;
    tenPumpFormat = flags.tenPumps ? 1 : 0;
    doseFormat = flags.dose ? 1 : 0;
    flushTypeFormat = flags.flushType ? 1 : 0;
    extensionFormat = flags.extension ? 1 : 0;
    pulseFixFormat = flags.pulseFix ? 1 : 0;
    descriptionFormat = flags.description ? 1 : 0;
    resetToFormat = flags.resetTo ? 1 : 0;
}

}  // namespace qelto::model
