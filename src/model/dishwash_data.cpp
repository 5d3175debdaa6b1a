#include "model/dishwash_data.h"

#include "model/archive.h"

namespace qelto::model {

void CDishWashViewData::Reset(std::uint8_t mode, std::uint8_t type) {
    DW_Flag4 = 0;
    DW_Text.clear();
    DW_NamesFormat = 0;
    DW_UnitType = type;
    setText(DW_SerialNo, "00000000");
    DW_Pin = {6179, 7159, 7318};
    DW_UnitMode = mode;
    DW_NumPumps = 0;
    DW_IOCheckbox = 0;
    DW_ICmode = 1;
    DW_ICRunTime = {0, 30, 0};
    DW_ICDelayTime = {0, 0, 0};
    DW_ICPulseCount = 1;
    DW_ProbeMode = 1;
    DW_ProbeInitialDelay = {3, 0, 0};
    DW_ProbeConcentration = 170;
    DW_ProbeAlarmDelay = {5, 0, 0};
    DW_ProbeAlarmOff = 0;
    DW_PumpSpeed = {100, 100, 100};
    DW_PumpRunTime.fill({0, 4, 0});
    DW_PumpOffTime.fill({0, 4, 0});
    DW_PumpPulse = {1, 1, 1};
    DW_Byte69 = 0;
    DW_IOPercent = {100, 100, 100, 100};
    DW_IOTime.fill({});
    DW_IODuration.fill({});
    DW_PropTo = 0;
    DW_PropRunning = 0;
    DW_Flag88 = 0;

    switch (mode) {
        case 0:
            DW_PumpSpeed[1] = 75;
            break;
        case 1:
            DW_PumpRunTime[0].seconds = 2;
            DW_PumpOffTime[0].seconds = 1;
            if (type == 0) {
                DW_ProbeMode = 1;
                DW_ProbeInitialDelay.minutes = 3;
                DW_ProbeAlarmDelay.minutes = 5;
                DW_PumpOffTime[1].seconds = 0;
                DW_PumpSpeed[1] = 75;
            } else if (type == 1) {
                DW_ProbeMode = 1;
                DW_ProbeInitialDelay.minutes = 5;
                DW_ProbeAlarmDelay.minutes = 10;
                DW_PumpOffTime[1].seconds = 0;
                DW_PumpSpeed[1] = 25;
                DW_PumpRunTime[1].seconds = 1;
            }
            break;
        case 2:
            DW_ICmode = 1;
            DW_ICPulseCount = 1;
            DW_ICRunTime = {1, 0, 0};
            DW_ICDelayTime = {5, 0, 0};
            DW_PumpRunTime[0].seconds = 5;
            DW_PumpOffTime[0] = {1, 0, 0};
            DW_PumpSpeed[1] = 25;
            DW_PumpRunTime[1].seconds = 1;
            DW_PumpOffTime[1] = {0, 0, 0};
            DW_PumpRunTime[2].seconds = 5;
            DW_PumpOffTime[2] = {1, 0, 0};
            break;
        case 3:
            DW_PumpSpeed = {80, 80, 80};
            break;
        default:
            break;
    }
}

void CDishWashViewData::Serialize(Archive& ar, std::uint32_t& viewNumber) {
    if (ar.isStoring() && viewNumber != kDishWashViewA && viewNumber != kDishWashViewB) {
        viewNumber = 0;
    }
    ar.transfer(DW_UnitType);
    ar.transfer(DW_UnitMode);
    ar.transfer(DW_ICmode);
    ar.transfer(DW_IOCheckbox);
    ar.transfer(DW_NumPumps);
    ar.transfer(DW_Byte69);
    ar.transfer(std::span<char>(DW_SerialNo));
    for (auto& p : DW_Pin) {
        ar.transfer(p);
    }
    // The IC mode is stored a second time here; on load this copy is the one that counts.
    ar.transfer(DW_ICmode);
    ar.transfer(DW_ICRunTime.minutes);
    ar.transfer(DW_ICRunTime.seconds);
    ar.transfer(DW_ICDelayTime.minutes);
    ar.transfer(DW_ICDelayTime.seconds);
    ar.transfer(DW_ICPulseCount);
    ar.transfer(DW_ProbeMode);
    ar.transfer(DW_ProbeConcentration);
    ar.transfer(DW_ProbeInitialDelay.minutes);
    ar.transfer(DW_ProbeInitialDelay.seconds);
    ar.transfer(DW_ProbeAlarmDelay.minutes);
    ar.transfer(DW_ProbeAlarmDelay.seconds);
    ar.transfer(DW_ProbeAlarmOff);
    ar.transfer(std::span(DW_PumpSpeed));
    for (auto& t : DW_PumpRunTime) {
        ar.transfer(t.minutes);
        ar.transfer(t.seconds);
    }
    for (auto& t : DW_PumpOffTime) {
        ar.transfer(t.minutes);
        ar.transfer(t.seconds);
    }
    ar.transfer(std::span(DW_PumpPulse));
    ar.transfer(std::span(DW_IOPercent));
    for (auto& t : DW_IOTime) {
        ar.transfer(t.third);
        ar.transfer(t.minutes);
    }
    for (auto& t : DW_IODuration) {
        ar.transfer(t.third);
        ar.transfer(t.minutes);
    }
    if (ar.isStoring() || DW_NamesFormat != 0) {
        ar.transferString(DW_Text);
        ar.transfer(DW_Flag4);
        ar.transfer(DW_Flag88);
        std::uint32_t view = viewNumber;
        ar.transfer(view);
        viewNumber = (view == kDishWashViewA || view == kDishWashViewB) ? view : 0;
    }
}

}  // namespace qelto::model
