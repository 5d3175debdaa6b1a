#include "legacy/dishwash_stream.h"

#include <fmt/format.h>

#include "model/unit_types.h"

namespace qelto::legacy {
namespace {

constexpr std::size_t kCustomerLineBytes = 17;

class Reader {
  public:
    explicit Reader(const ByteSource& in) : in_(in) {}

    bool byte(std::uint8_t& out) { return ok_ && (ok_ = in_(out)); }
    bool pair(WirePair& out) { return byte(out[0]) && byte(out[1]); }
    bool word(std::uint16_t& out) {
        std::uint8_t high = 0;
        std::uint8_t low = 0;
        if (!byte(high) || !byte(low)) {
            return false;
        }
        out = static_cast<std::uint16_t>((high << 8) | low);
        return true;
    }
    template <std::size_t N>
    bool bytes(std::array<std::uint8_t, N>& out) {
        for (std::uint8_t& b : out) {
            byte(b);
        }
        return ok_;
    }
    bool text(std::string& out) {
        std::array<std::uint8_t, kCustomerLineBytes> raw{};
        if (!bytes(raw)) {
            return false;
        }
        out.clear();
        for (const std::uint8_t b : raw) {
            if (b == 0) {
                break;
            }
            out.push_back(static_cast<char>(b));
        }
        return true;
    }
    bool ok() const { return ok_; }

  private:
    const ByteSource& in_;
    bool ok_ = true;
};

std::string pairText(const WirePair& p) {
    return fmt::format("{:02}:{:02}", p[0], p[1]);
}

WirePair timePair(const model::MinSec& t) {
    return {t.minutes, t.seconds};
}

// Outputs keep the number shown first in the third byte.
WirePair outputPair(const model::MinSec& t) {
    return {t.third, t.minutes};
}

void setTime(model::MinSec& t, const WirePair& p) {
    t.minutes = p[0];
    t.seconds = p[1];
}

void setOutputTime(model::MinSec& t, const WirePair& p) {
    t.third = p[0];
    t.minutes = p[1];
}

class Comparison {
  public:
    void number(const std::string& what, unsigned unit, unsigned document) {
        if (unit != document) {
            found.push_back({what, -1, -1, -1, std::to_string(unit), std::to_string(document)});
        }
    }
    void time(const std::string& what, const WirePair& unit, const WirePair& document) {
        if (unit != document) {
            found.push_back({what, -1, -1, -1, pairText(unit), pairText(document)});
        }
    }
    std::vector<protocol::Difference> found;
};

}  // namespace

bool parseDishwashGeneral(const ByteSource& in, DishwashGeneral& out) {
    Reader r(in);
    r.text(out.customerLines[0]);
    r.text(out.customerLines[1]);
    for (std::uint16_t& pin : out.pins) {
        r.word(pin);
    }
    return r.ok();
}

bool parseDishwashStream(const ByteSource& in, bool secondIcBlock, DishwashStream& out) {
    Reader r(in);
    r.byte(out.typeByte);
    r.byte(out.modeByte);
    r.byte(out.icMode);
    r.pair(out.icRun);
    r.byte(out.icPulse);
    r.pair(out.icDelay);
    out.secondIc = secondIcBlock;
    if (secondIcBlock) {
        r.byte(out.ic2Mode);
        r.pair(out.ic2Run);
        r.byte(out.ic2Pulse);
        r.pair(out.ic2Delay);
    }
    r.byte(out.probeMode);
    r.pair(out.probeInitialDelay);
    r.byte(out.probeConcentration);
    r.pair(out.probeAlarmDelay);
    r.byte(out.probeAlarmOff);
    r.byte(out.numPumps);
    for (DishwashPumpStream& pump : out.pumps) {
        r.byte(pump.speed);
        r.pair(pump.run);
        r.pair(pump.off);
        r.byte(pump.pulse);
        r.bytes(pump.flow);
    }
    r.byte(out.ioCheckbox);
    for (DishwashOutputStream& output : out.outputs) {
        r.byte(output.percent);
        r.pair(output.time);
        r.pair(output.duration);
    }
    r.byte(out.propRunning);
    r.byte(out.propTo);
    r.byte(out.clockHours);
    r.byte(out.clockMinutes);
    r.bytes(out.spare);
    return r.ok();
}

std::uint8_t storedIcMode(const DishwashStream& stream) {
    const bool firstMode = stream.modeByte <= 1;
    if (!firstMode && stream.icMode != 0) {
        return static_cast<std::uint8_t>(stream.icMode - 1);
    }
    return stream.icMode;
}

void storeDishwashStream(const DishwashStream& s, model::CDishWashViewData& d) {
    if (s.typeByte == 1 || s.typeByte == 2) {
        d.DW_UnitType = static_cast<std::uint8_t>(s.typeByte - 1);
    }
    if (s.modeByte >= 1 && s.modeByte <= 4) {
        d.DW_UnitMode = static_cast<std::uint8_t>(s.modeByte - 1);
    }
    d.DW_ICmode = storedIcMode(s);
    setTime(d.DW_ICRunTime, s.icRun);
    d.DW_ICPulseCount = s.icPulse;
    setTime(d.DW_ICDelayTime, s.icDelay);
    d.DW_ProbeMode = s.probeMode;
    setTime(d.DW_ProbeInitialDelay, s.probeInitialDelay);
    d.DW_ProbeConcentration = s.probeConcentration;
    setTime(d.DW_ProbeAlarmDelay, s.probeAlarmDelay);
    d.DW_ProbeAlarmOff = s.probeAlarmOff;
    d.DW_NumPumps = s.numPumps;
    for (std::size_t p = 0; p < s.pumps.size(); ++p) {
        d.DW_PumpSpeed[p] = s.pumps[p].speed;
        setTime(d.DW_PumpRunTime[p], s.pumps[p].run);
        setTime(d.DW_PumpOffTime[p], s.pumps[p].off);
        d.DW_PumpPulse[p] = s.pumps[p].pulse;
    }
    d.DW_IOCheckbox = s.ioCheckbox;
    for (std::size_t o = 0; o < s.outputs.size(); ++o) {
        d.DW_IOPercent[o] = s.outputs[o].percent;
        setOutputTime(d.DW_IOTime[o], s.outputs[o].time);
        setOutputTime(d.DW_IODuration[o], s.outputs[o].duration);
    }
    d.DW_PropRunning = s.propRunning;
    d.DW_PropTo = s.propTo;
}

std::vector<protocol::Difference> compareDishwashStream(const DishwashStream& s,
                                                        const model::CDishWashViewData& d) {
    Comparison c;
    c.number("unit type", model::OldTypeToNewType(static_cast<std::uint8_t>(s.typeByte - 1)),
             d.DW_UnitType);
    c.number("unit mode", static_cast<std::uint8_t>(s.modeByte - 1), d.DW_UnitMode);
    c.number("IC mode", storedIcMode(s), d.DW_ICmode);
    c.time("IC run time", s.icRun, timePair(d.DW_ICRunTime));
    c.number("IC pulse count", s.icPulse, d.DW_ICPulseCount);
    c.time("IC delay time", s.icDelay, timePair(d.DW_ICDelayTime));
    c.number("probe mode", s.probeMode, d.DW_ProbeMode);
    c.time("probe initial delay", s.probeInitialDelay, timePair(d.DW_ProbeInitialDelay));
    c.number("probe concentration", s.probeConcentration, d.DW_ProbeConcentration);
    c.time("probe alarm delay", s.probeAlarmDelay, timePair(d.DW_ProbeAlarmDelay));
    c.number("probe alarm off", s.probeAlarmOff, d.DW_ProbeAlarmOff);
    c.number("number of pumps", s.numPumps, d.DW_NumPumps);
    for (std::size_t p = 0; p < s.pumps.size(); ++p) {
        const std::string pump = fmt::format("pump {} ", p + 1);
        c.number(pump + "speed", s.pumps[p].speed, d.DW_PumpSpeed[p]);
        c.time(pump + "run time", s.pumps[p].run, timePair(d.DW_PumpRunTime[p]));
        c.time(pump + "off time", s.pumps[p].off, timePair(d.DW_PumpOffTime[p]));
        c.number(pump + "pulse count", s.pumps[p].pulse, d.DW_PumpPulse[p]);
    }
    c.number("IO checkbox", s.ioCheckbox, d.DW_IOCheckbox);
    for (std::size_t o = 0; o < s.outputs.size(); ++o) {
        const std::string output = fmt::format("output {} ", o + 1);
        c.number(output + "percent", s.outputs[o].percent, d.DW_IOPercent[o]);
        c.time(output + "time", s.outputs[o].time, outputPair(d.DW_IOTime[o]));
        c.time(output + "duration", s.outputs[o].duration, outputPair(d.DW_IODuration[o]));
    }
    c.number("prop running", s.propRunning, d.DW_PropRunning);
    c.number("prop to", s.propTo, d.DW_PropTo);
    return c.found;
}

std::string differenceLine(const protocol::Difference& difference) {
    return fmt::format("{}: unit {}, document {}", difference.field, difference.unitValue,
                       difference.documentValue);
}

}  // namespace qelto::legacy
