// A hand-made writer of Qelto document files, kept apart from the loader on purpose: it builds the
// bytes from the documented layout alone, so a misreading of the layout cannot hide in both.
//
// The records here are plain structs of our own. Fixed-width text fields are byte arrays (a file
// copies them at full width, terminator and trailing bytes included); counted strings are
// std::string holding Latin-1 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qelto::test::doc {

using Bytes = std::vector<std::uint8_t>;
// Minutes, seconds and a third byte that files never carry.
using Triple = std::array<std::uint8_t, 3>;

template <std::size_t N>
using FixedText = std::array<std::uint8_t, N>;

// Fixed-width text: the characters, then NUL bytes up to the width. Throws when it does not fit.
template <std::size_t N>
FixedText<N> fixedText(std::string_view text) {
    FixedText<N> out{};
    if (text.size() > N) {
        throw std::length_error("text wider than its field");
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(text[i]);
    }
    return out;
}

struct Step {
    Triple runTime{};
    Triple delayTime{};
    std::uint32_t dose = 0;
};

inline constexpr int kPrograms = 20;
inline constexpr int kTriggers = 10;
inline constexpr int kPumps = 10;

// Offsets inside the 89-byte legacy configuration image.
namespace legacy {
inline constexpr std::size_t kUnitType = 34;
inline constexpr std::size_t kPumpSpeed = 44;
inline constexpr std::size_t kAccessCode = 45;
inline constexpr std::size_t kPulseCount = 46;
inline constexpr std::size_t kResetDelay = 47;
inline constexpr std::size_t kRunTime = 56;
inline constexpr std::size_t kFileSkipsInFormat1 = 64;
inline constexpr std::size_t kPin1 = 65;
inline constexpr std::size_t kSerial = 72;
inline constexpr std::size_t kVersion = 83;
}  // namespace legacy

// The fields in the order of the loaded record (and of `show --json`), not of the file.
struct Config {
    std::uint8_t spareLaundryByte = 0;
    std::uint32_t pumpNamesValid = 0, FlushType = 0;
    std::array<std::uint8_t, 89> legacyConfig{};
    std::array<std::array<std::array<Step, kPumps>, kTriggers>, kPrograms> programs{};
    std::array<std::uint8_t, kPumps> pumpSpeed{};
    std::array<std::uint32_t, kPumps> pumpCalibration{};
    std::array<std::array<std::array<std::uint8_t, kPumps>, kTriggers>, kPrograms> pumpEnabled{};
    std::array<std::array<std::uint8_t, kTriggers>, kPrograms> pulseCount{};
    std::uint8_t resetDelayLastInput = 0, resetDelayOff = 0, accessCode = 0;
    Triple resetDelayTime{}, flushValveTime{}, auxTime{};
    std::uint8_t auxByte = 0, unitType = 0;
    FixedText<9> spareText{};
    FixedText<20> SerialNoUnit{};
    FixedText<10> SerialNoCPU{};
    FixedText<6> SoftwareVersion{};
    FixedText<17> unitDescription{}, customerName1{}, customerName2{};
    std::array<std::uint16_t, 3> pin{};
    std::uint32_t relayMode = 0, ViewMode = 0, optionFlag1 = 0, optionFlag0 = 0;
    std::array<std::string, kPrograms> progName{};
    std::array<std::string, kPumps> pumpName{};
    std::array<std::uint32_t, kPumps> pumpSpeedRange{};
    std::uint32_t SafetyStopMode = 0, autofs_mode = 0;
    Triple autofs_time{};
    std::uint8_t autofs_accept_time = 0, resetOption = 0, resetProgChoice = 0, FSVersion = 0;
    std::string comments;
};

struct Dishwash {
    std::uint8_t DW_Flag4 = 0;
    std::string DW_Text;
    std::uint8_t DW_UnitType = 0;
    FixedText<9> DW_SerialNo{};
    std::array<std::uint16_t, 3> DW_Pin{};
    std::uint8_t DW_UnitMode = 0, DW_NumPumps = 0, DW_IOCheckbox = 0, DW_ICmode = 0;
    Triple DW_ICRunTime{}, DW_ICDelayTime{};
    std::uint8_t DW_ICPulseCount = 0, DW_ProbeMode = 0;
    Triple DW_ProbeInitialDelay{};
    std::uint8_t DW_ProbeConcentration = 0;
    Triple DW_ProbeAlarmDelay{};
    std::uint8_t DW_ProbeAlarmOff = 0;
    std::array<std::uint8_t, 3> DW_PumpSpeed{};
    std::array<Triple, 3> DW_PumpRunTime{}, DW_PumpOffTime{};
    std::array<std::uint8_t, 3> DW_PumpPulse{};
    std::uint8_t DW_Byte69 = 0;
    std::array<std::uint8_t, 4> DW_IOPercent{};
    std::array<Triple, 4> DW_IOTime{}, DW_IODuration{};
    std::uint8_t DW_PropTo = 0, DW_PropRunning = 0, DW_Flag88 = 0;
};

// Everything a file holds: the two records plus the few items that live only in the file.
struct Document {
    Config config;
    Dishwash dishwash;
    std::uint32_t endMarker = 999;
    std::uint32_t viewNumber = 0;
    // The first of the two stored copies of DW_ICmode; by default the same as the second.
    std::optional<std::uint8_t> firstICmodeCopy;
    // Filler of the unused tail of the 100-byte extension block.
    std::uint8_t extensionFiller = 0;
};

using PumpNames = std::array<std::string, kPumps>;

// "QDoc" for format 1, "QDo2" ... "QDo9" for the others.
std::string formatTag(int format);

// The string encoding of the archive: u8 length, or 0xFF + u16, or 0xFF 0xFFFF + u32.
Bytes countedString(std::string_view text);

// The blocks of a file of the given format (1..9), and the whole file with its tag.
Bytes progDataBlock(const Document& doc, int format);
Bytes dishwashBlock(const Document& doc, int format);  // empty for format 1
Bytes writeDocument(const Document& doc, int format);
// The same blocks behind an arbitrary tag (for files that must not be recognised).
Bytes writeDocumentWithTag(const Document& doc, int format, std::string_view tag);

// The records right after a reset: the configuration with the given default pump names, the
// dishwash record for unit type 0 and mode 0. viewNumber 0 and endMarker 999, as a save writes.
Document resetDocument(const PumpNames& defaultPumpNames = {});

// What the records hold after `written` is stored as `format` and loaded into a fresh process
// whose catalogue gives `defaultPumpNames` for the reset unit type.
Document expectedAfterLoad(const Document& written, int format,
                           const PumpNames& defaultPumpNames = {});

// The `show --json` object for records loaded from a file of `format`.
nlohmann::json showJson(const Document& loaded, int format);

// Shorthand: showJson(expectedAfterLoad(written, format, names), format).
nlohmann::json expectedShow(const Document& written, int format,
                            const PumpNames& defaultPumpNames = {});

// A document whose fields all hold distinct values that differ from their reset values, and that
// survive every repair (the repair tests change single fields of it).
Document distinctDocument();

// Latin-1 bytes as UTF-8.
std::string latin1ToUtf8(std::string_view latin1);

// `doc` saved as a file of `format` in the current test's folder; its path.
std::string saveDocument(const Document& doc, const std::string& name, int format = 9);

// The chemical catalogue (qelto.ini) of the current test, with the pump names of each unit type
// section given ("L04").
void writeCatalogue(std::initializer_list<std::pair<std::string, PumpNames>> sections);

}  // namespace qelto::test::doc
