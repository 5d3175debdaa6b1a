// The whole configuration of one unit: twenty wash programs of ten triggers of ten pumps, the
// unit-wide settings, the pump data and names, and the texts that travel with it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/legacy_config.h"
#include "model/min_sec.h"
#include "model/selection.h"
#include "model/unit_types.h"

namespace qelto::model {

class Archive;

inline constexpr std::size_t kPrograms = 20;
inline constexpr std::size_t kTriggers = 10;
inline constexpr std::size_t kPumps = 10;

// Where ResetAll takes the default pump names of a unit type from (the chemical-name catalogue in
// the program; a fixed list in tests).
class PumpNameDefaults {
  public:
    virtual ~PumpNameDefaults() = default;
    virtual std::array<std::string, kPumps> defaultPumpNames(std::uint8_t unitType) const = 0;
};

// No catalogue at all: every default pump name is empty.
class NoPumpNameDefaults final : public PumpNameDefaults {
  public:
    std::array<std::string, kPumps> defaultPumpNames(std::uint8_t) const override { return {}; }
};

// Fixed-width text fields hold Latin-1 bytes and a NUL terminator somewhere inside their width.
template <std::size_t N>
using FixedText = std::array<char, N>;

template <std::size_t N>
std::string_view textOf(const FixedText<N>& field) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0') {
        ++length;
    }
    return {field.data(), length};
}

// Stores at most N - 1 bytes and fills the rest with NUL, so the field stays terminated.
template <std::size_t N>
void setText(FixedText<N>& field, std::string_view text) {
    field.fill('\0');
    const std::size_t n = text.size() < N ? text.size() : N - 1;
    for (std::size_t i = 0; i < n; ++i) {
        field[i] = text[i];
    }
}

// Where the unit identity of a configuration (SerialNoUnit, SoftwareVersion) came from. Only an
// identity of a real unit is stored with the document or shown as the unit's; the defaults
// "000000000" and "V-.--" of a new document name no unit at all.
enum class IdentitySource : std::uint8_t {
    None,      // a new document, or a file that carries no identity
    File,      // stored with a file that was once read from a unit
    UnitRead,  // read from a unit by this program, since the document was opened
};

class CProgData {
  public:
    // Every field is zero until ResetAll runs: the document resets the record before it is used.
    CProgData() = default;

    void ResetAll(const PumpNameDefaults& pumpNames);

    // Copies program src onto program dest (steps, enable flags, pulse counts). Both indices are
    // program numbers 0..19; false when either is out of range.
    bool CopyProgram(std::uint8_t src, std::uint8_t dest);

    // Puts program p back to the defaults of legacyConfig; doses are kept. False when p is out of
    // range.
    bool ClearProgram(std::uint8_t p);

    // Loads or stores the record in the layout of document files. The format flags decide which
    // items a load reads; a store writes every item.
    void Serialize(Archive& ar);

    // Field access by the numbers people and units use. Out-of-range numbers throw
    // std::out_of_range: they are programming faults, never data.
    std::uint8_t& pumpSpeedOf(unsigned pumpNumber);       // pump 1..10
    std::uint32_t& PumpCalibration(unsigned pumpNumber);  // pump 1..10
    PumpStep& Step(std::uint8_t program, std::uint8_t trigger, std::uint8_t pump);
    std::uint8_t& pumpEnabledAt(std::uint8_t program, std::uint8_t trigger, std::uint8_t pump);
    std::uint8_t& pulseCountAt(std::uint8_t program, std::uint8_t trigger);

    // The same at the editors' current position.
    PumpStep& currentStep(const Selection& at) {
        return Step(at.program(), at.trigger(), at.pump());
    }
    std::uint8_t& currentPumpEnabled(const Selection& at) {
        return pumpEnabledAt(at.program(), at.trigger(), at.pump());
    }
    std::uint8_t& currentPulseCount(const Selection& at) {
        return pulseCountAt(at.program(), at.trigger());
    }

    // Defaults kept in legacyConfig.
    std::uint8_t defaultPulseCount() const { return legacyConfig[lc::kPulseCount]; }
    std::uint8_t defaultPumpSpeed() const { return legacyConfig[lc::kPumpSpeed]; }
    MinSec defaultRunTime() const { return legacyTime(legacyConfig, lc::kRunTime); }
    MinSec defaultDelayTime() const { return legacyTime(legacyConfig, lc::kDelayTime); }

    // Format flags, set by the document before each Serialize.
    struct FormatFlags {
        bool firstFormat = false;  // "QDoc"
        bool names = false;        // format 3 and later
        bool tenPumps = false;     // format 4 and later
        bool dose = false;         // format 4 and later
        bool flushType = false;    // format 5 and later
        bool extension = false;    // format 6 and later
        bool pulseFix = false;     // format 7 and later
        bool description = false;  // format 8 and later
        bool resetTo = false;      // format 9 and later
    };
    void setFormatFlags(const FormatFlags& flags);

    // --- The record, in the order units and files know it. ---
    std::uint8_t firstFormatLoad = 0;
    std::uint8_t spareLaundryByte = 0;
    std::uint8_t pumpNamesValid = 0;
    std::uint32_t FlushType = 0;  // 0 = "During and After", nonzero = "After Only"
    LegacyConfig legacyConfig{};
    std::array<std::array<std::array<PumpStep, kPumps>, kTriggers>, kPrograms> programs{};
    std::array<std::uint8_t, kPumps> pumpSpeed{};         // percent, 30..100
    std::array<std::uint32_t, kPumps> pumpCalibration{};  // ml/min; 0 = not calibrated
    std::array<std::array<std::array<std::uint8_t, kPumps>, kTriggers>, kPrograms> pumpEnabled{};
    std::array<std::array<std::uint8_t, kTriggers>, kPrograms> pulseCount{};
    std::uint8_t resetDelayLastInput = 0;
    std::uint8_t resetDelayOff = 0;
    std::uint8_t accessCode = 0;
    MinSec resetDelayTime;
    MinSec flushValveTime;
    MinSec auxTime;
    std::uint8_t auxByte = 0;
    std::uint8_t unitType = 0;
    FixedText<9> spareText{};
    FixedText<20> SerialNoUnit{};
    FixedText<10> SerialNoCPU{};
    FixedText<6> SoftwareVersion{};
    FixedText<17> unitDescription{};
    FixedText<17> customerName1{};
    FixedText<17> customerName2{};
    std::array<std::uint16_t, 3> pin{};
    std::uint8_t namesPresent = 0;
    std::uint32_t relayMode = 0;
    std::uint32_t ViewMode = 0;
    std::uint32_t optionFlag1 = 0;
    std::uint32_t optionFlag0 = 0;
    std::uint8_t tenPumpFormat = 0;
    std::uint8_t doseFormat = 0;
    std::uint8_t flushTypeFormat = 0;
    std::uint8_t extensionFormat = 0;
    std::uint8_t pulseFixFormat = 0;
    std::uint8_t descriptionFormat = 0;
    std::uint8_t resetToFormat = 0;
    std::array<std::string, kPrograms> progName;
    std::array<std::string, kPumps> pumpName;
    std::array<std::uint32_t, kPumps> pumpSpeedRange{};  // 0..3; on the wire (value + 1) mod 4
    std::uint32_t SafetyStopMode = 0;
    std::uint32_t autofs_mode = 0;
    MinSec autofs_time;
    std::uint8_t autofs_accept_time = 0;
    std::uint8_t resetOption = 0;
    std::uint8_t resetProgChoice = 0;
    std::uint8_t FSVersion = 0;
    std::string comments;
    IdentitySource identitySource = IdentitySource::None;

    // Batch programming; never stored in a file and left alone by ResetAll.
    std::string batchJobName;
    std::uint32_t batchSize = 0;
    std::uint32_t batchCounter = 0;

  private:
    void serializeLegacyConfig(Archive& ar);
    void serializeSteps(Archive& ar, std::size_t pumps, std::size_t triggers);
    void serializeExtension(Archive& ar);
    void serializeIdentity(Archive& ar, std::size_t tailBytes);
};

}  // namespace qelto::model
