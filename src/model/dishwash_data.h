// The settings of a legacy dishwash unit. Times are minute/second/third-byte triples like MinSec.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/min_sec.h"
#include "model/prog_data.h"

namespace qelto::model {

class Archive;

class CDishWashViewData {
  public:
    // Common defaults, then the changes of the given unit mode (modes above 3 have none).
    void Reset(std::uint8_t mode, std::uint8_t type);

    // viewNumber is the editor view the file remembers (2 or 4, else 0). The format flag
    // DW_NamesFormat decides whether a load reads the text, the two extra bytes and the view.
    void Serialize(Archive& ar, std::uint32_t& viewNumber);

    std::uint8_t DW_Flag4 = 0;
    std::string DW_Text;
    std::uint8_t DW_NamesFormat = 0;
    std::uint8_t DW_UnitType = 0;
    FixedText<9> DW_SerialNo{};
    std::array<std::uint16_t, 3> DW_Pin{};
    std::uint8_t DW_UnitMode = 0;
    std::uint8_t DW_NumPumps = 0;
    std::uint8_t DW_IOCheckbox = 0;
    std::uint8_t DW_ICmode = 0;
    MinSec DW_ICRunTime;
    MinSec DW_ICDelayTime;
    std::uint8_t DW_ICPulseCount = 0;
    std::uint8_t DW_ProbeMode = 0;
    MinSec DW_ProbeInitialDelay;
    std::uint8_t DW_ProbeConcentration = 0;
    MinSec DW_ProbeAlarmDelay;
    std::uint8_t DW_ProbeAlarmOff = 0;
    std::array<std::uint8_t, 3> DW_PumpSpeed{};
    std::array<MinSec, 3> DW_PumpRunTime{};
    std::array<MinSec, 3> DW_PumpOffTime{};
    std::array<std::uint8_t, 3> DW_PumpPulse{};
    std::uint8_t DW_Byte69 = 0;
    std::array<std::uint8_t, 4> DW_IOPercent{};
    // Outputs keep their two numbers in the third byte (shown first) and the first byte.
    std::array<MinSec, 4> DW_IOTime{};
    std::array<MinSec, 4> DW_IODuration{};
    std::uint8_t DW_PropTo = 0;
    std::uint8_t DW_PropRunning = 0;
    std::uint8_t DW_Flag88 = 0;
};

// The editor views whose number a document file remembers.
inline constexpr std::uint32_t kDishWashViewA = 2;
inline constexpr std::uint32_t kDishWashViewB = 4;

}  // namespace qelto::model
