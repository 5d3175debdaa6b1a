#include "protocol/unit_reads.h"

namespace qelto::protocol {

bool GetEnProgs(EnProgs& map, UnitChannel& channel) {
    const auto reply = channel.ask(makePoll(CMD_GET_EN_PROGS));
    const auto parsed = reply ? parseEnProgs(*reply) : std::nullopt;
    if (!parsed) {
        return false;
    }
    map = *parsed;
    return true;
}

bool GetPumpCal(CalibrationPart& calibration, UnitChannel& channel) {
    ProgressScope progress(channel.observer(), static_cast<int>(kCommsPumps));
    for (std::uint8_t group = 0; group < 2; ++group) {
        const auto reply = channel.ask(makePoll(CMD_GET_PUMPCAL, group));
        // parsePumpCal refuses a group other than 0 and 1, which would point past pump 10.
        const auto parsed = reply ? parsePumpCal(*reply) : std::nullopt;
        if (!parsed) {
            return false;
        }
        for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
            calibration.pumps[kPumpsPerHalf * parsed->group + j] = parsed->pumps[j];
            progress.step();
        }
    }
    return true;
}

namespace {

// The unit says which program, half and trigger it answered; that is where the data goes, even
// if it differs from what was asked. Identifiers 104 and 105 (a 21st program) are valid on the
// wire but have no place in the record, so they are taken as answers and dropped.
void storeHalf(ProgDataPart& progData, const ProgDataHalf& half) {
    if (half.program >= kCommsPrograms || half.trigger >= kCommsTriggers) {
        return;
    }
    TriggerRecord& trigger = progData.programs[half.program][half.trigger];
    trigger.setting = half.setting;
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        trigger.pumps[kPumpsPerHalf * half.half + j] = half.pumps[j];
    }
}

bool readTrigger(ProgDataPart& progData, std::uint8_t program, std::uint8_t trigger,
                 UnitChannel& channel) {
    for (std::uint8_t half = 0; half < 2; ++half) {
        const auto reply = channel.ask(makeProgDataRequest(program, half, trigger));
        const auto parsed = reply ? parseProgDataHalf(*reply) : std::nullopt;
        if (!parsed) {
            return false;
        }
        storeHalf(progData, *parsed);
    }
    return true;
}

}  // namespace

bool GetProgdata(CommsData& data, UnitChannel& channel) {
    // The calibration tells the translation which pumps are dosed by volume; without it the run
    // bytes cannot be read, so there is no point in asking for them.
    if (!GetPumpCal(data.calibration, channel)) {
        return false;
    }
    EnProgs enabled;
    if (!GetEnProgs(enabled, channel)) {
        if (channel.cancelled()) {
            return false;
        }
        // Older units do not keep the map: read every trigger instead.
        for (auto& program : enabled.enabled) {
            program.fill(true);
        }
    }
    ProgressScope progress(channel.observer(), static_cast<int>(kCommsPrograms));
    for (std::uint8_t p = 0; p < kCommsPrograms; ++p) {
        for (std::uint8_t t = 0; t < kCommsTriggers; ++t) {
            if (!enabled.enabled[p][t]) {
                for (ProgPump& pump : data.progData.programs[p][t].pumps) {
                    pump.enabled = 0;
                }
            } else if (!readTrigger(data.progData, p, t, channel)) {
                return false;
            }
        }
        progress.step();
    }
    return true;
}

}  // namespace qelto::protocol
