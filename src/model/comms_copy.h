// The communications copy: what a unit last reported, kept apart from the configuration being
// edited so that a report of a unit never disturbs the engineer's document. Only the translation
// of a report read fills it; the report code reads it. It is not stored in document files.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/min_sec.h"
#include "model/prog_data.h"

namespace qelto::model {

// One entry per program plus one: the report code indexes the table by program number and keeps
// the spare entry at the end.
inline constexpr std::size_t kProgramActiveFlags = 21;

struct CommsCopy {
    // Reset-to settings.
    std::uint8_t resetOption = 0;
    std::uint8_t resetProgChoice = 0;
    std::uint8_t FSVersion = 0;

    // Identity. Both serial texts hold the unit's serial number as nine (or, above 999999999,
    // ten) digits; the processor serial has room for ten digits here, unlike the document's.
    FixedText<20> CommsSerNo{};
    FixedText<6> SoftwareVersion{};
    FixedText<17> customerName1{};
    FixedText<17> customerName2{};
    std::array<std::uint16_t, 3> pin{};
    std::uint8_t CommsNPumps = 0;  // pumps of the reported unit type
    std::uint8_t unitType = 0;

    MinSec resetDelayTime;
    MinSec flushValveTime;
    MinSec auxTime;
    std::uint8_t auxByte = 0;
    std::array<std::uint8_t, kPumps> pumpSpeed{};
    std::array<std::uint32_t, kPumps> pumpCalibration{};  // 0: the pump's steps are timed

    std::array<std::array<std::array<PumpStep, kPumps>, kTriggers>, kPrograms> programs{};
    std::array<std::array<std::uint8_t, kTriggers>, kPrograms> pulseCount{};
    std::array<std::array<std::array<std::uint8_t, kPumps>, kTriggers>, kPrograms> pumpEnabled{};

    std::uint8_t resetDelayLastInput = 0;
    std::uint8_t resetDelayOff = 0;
    std::uint8_t accessCode = 0;
    std::uint32_t FlushType = 0;
    std::uint32_t ViewMode = 0;
    std::uint32_t optionFlag1 = 0;
    std::uint32_t optionFlag0 = 0;
    std::uint32_t relayMode = 0;
    std::array<std::uint32_t, kPumps> pumpSpeedRange{};  // as the configuration numbers them

    FixedText<20> CommsSerialNo{};
    FixedText<11> SerialNoCPU{};

    std::array<std::string, kPrograms> progName;
    std::array<std::string, kPumps> pumpName;
    std::string comments;

    // 1 for each program with an enabled pump in any trigger, as of the last program-data read.
    std::array<std::uint8_t, kProgramActiveFlags> programActive{};

    // The unit clock as the unit last reported it. A report read and a program read both leave
    // it here (the program read through its translation context), so the views and reports have
    // one place to look.
    std::string UnitTimeText;

    friend bool operator==(const CommsCopy&, const CommsCopy&) = default;
};

}  // namespace qelto::model
