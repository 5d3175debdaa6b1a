#include "sim/legacy_memory.h"

#include <algorithm>

namespace qelto::sim {

namespace {

void putText(std::vector<std::uint8_t>& out, const std::string& text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

// Big-endian: the legacy units send the high byte first, unlike the packet protocol.
void putWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void putPair(std::vector<std::uint8_t>& out, const MinSecPair& pair) {
    out.push_back(pair[0]);
    out.push_back(pair[1]);
}

class StreamReader {
  public:
    explicit StreamReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint8_t byte() { return pos_ < bytes_.size() ? bytes_[pos_++] : 0; }
    std::uint16_t word() {
        const auto high = byte();
        return static_cast<std::uint16_t>((high << 8) | byte());
    }
    std::string text(std::size_t size) {
        std::string s;
        bool ended = false;
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint8_t b = byte();
            ended = ended || b == 0;
            if (!ended) {
                s.push_back(static_cast<char>(b));
            }
        }
        return s;
    }

  private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

bool legacyHasNames(const LegacyMemory& memory) {
    if (!memory.version) {
        return false;
    }
    // Compared as characters, first difference deciding, as the PC compares them.
    const std::array<char, 3> required{'1', '1', '0'};
    return *memory.version >= required;
}

std::vector<std::uint8_t> encodeConfigStream(const LegacyLaundryConfig& c) {
    std::vector<std::uint8_t> out;
    putText(out, c.customerLines[0], kLegacyCustomerLineSize);
    putText(out, c.customerLines[1], kLegacyCustomerLineSize);
    out.push_back(c.unitType);
    out.insert(out.end(), c.spareText.begin(), c.spareText.end());
    out.push_back(c.pumpSpeed);
    out.push_back(c.accessCode);
    out.push_back(c.pulseCount);
    putWord(out, c.resetDelay);
    putWord(out, c.flushValveTime);
    putWord(out, c.auxTime);
    putPair(out, c.runTime);
    putPair(out, c.delayTime);
    out.push_back(c.resetDelayOff);
    out.push_back(c.byte64);
    for (const std::uint16_t pin : c.pins) {
        putWord(out, pin);
    }
    out.push_back(c.auxByte);
    return out;
}

LegacyLaundryConfig decodeConfigStream(const std::vector<std::uint8_t>& stream) {
    StreamReader in(stream);
    LegacyLaundryConfig c;
    c.customerLines[0] = in.text(kLegacyCustomerLineSize);
    c.customerLines[1] = in.text(kLegacyCustomerLineSize);
    c.unitType = in.byte();
    for (auto& b : c.spareText) {
        b = in.byte();
    }
    c.pumpSpeed = in.byte();
    c.accessCode = in.byte();
    c.pulseCount = in.byte();
    c.resetDelay = in.word();
    c.flushValveTime = in.word();
    c.auxTime = in.word();
    c.runTime = {in.byte(), in.byte()};
    c.delayTime = {in.byte(), in.byte()};
    c.resetDelayOff = in.byte();
    c.byte64 = in.byte();
    for (auto& pin : c.pins) {
        pin = in.word();
    }
    c.auxByte = in.byte();
    return c;
}

std::vector<std::uint8_t> encodeLaundryUsage(const LegacyMemory& memory) {
    const LaundryUsage& u = memory.usage;
    const std::size_t pumps = std::min<std::size_t>(u.pumpCount, kLegacyUsagePumps);
    std::vector<std::uint8_t> out;
    out.push_back(u.pumpCount);
    for (const LegacyProgramUsage& program : u.programs) {
        out.push_back(program.used ? 1 : 0);
    }
    putWord(out, u.totalCycles);
    for (std::size_t p = 0; p < pumps; ++p) {
        const LegacyPumpUsage& pump = u.pumps[p];
        putWord(out, pump.hours);
        out.push_back(pump.minutes);
        out.push_back(pump.seconds);
        putWord(out, pump.flow);
        out.insert(out.end(), pump.calibrated.begin(), pump.calibrated.end());
    }
    for (std::size_t p = 0; p < pumps; ++p) {
        putWord(out, u.pumps[p].cycles);
    }
    for (const LegacyProgramUsage& program : u.programs) {
        if (!program.used) {
            continue;
        }
        for (std::size_t p = 0; p < pumps; ++p) {
            out.insert(out.end(), program.time[p].begin(), program.time[p].end());
        }
        for (std::size_t p = 0; p < pumps; ++p) {
            putWord(out, program.cycles[p]);
        }
    }
    putText(out, memory.config.customerLines[0], kLegacyCustomerLineSize);
    putText(out, memory.config.customerLines[1], kLegacyCustomerLineSize);
    for (const std::uint16_t pin : memory.config.pins) {
        putWord(out, pin);
    }
    return out;
}

std::vector<std::uint8_t> encodeDishwashReport(const LegacyMemory& memory, std::uint8_t clockHours,
                                               std::uint8_t clockMinutes) {
    const DishwashSettings& d = memory.dishwash;
    std::vector<std::uint8_t> out;
    putText(out, d.customerLines[0], kLegacyCustomerLineSize);
    putText(out, d.customerLines[1], kLegacyCustomerLineSize);
    for (const std::uint16_t pin : d.pins) {
        putWord(out, pin);
    }
    out.push_back(d.typeByte);
    out.push_back(d.modeByte);
    out.push_back(d.icMode);
    putPair(out, d.icRun);
    out.push_back(d.icPulse);
    putPair(out, d.icDelay);
    if (legacyHasNames(memory)) {
        out.push_back(d.ic2Mode);
        putPair(out, d.ic2Run);
        out.push_back(d.ic2Pulse);
        putPair(out, d.ic2Delay);
    }
    out.push_back(d.probeMode);
    putPair(out, d.probeInitialDelay);
    out.push_back(d.probeConcentration);
    putPair(out, d.probeAlarmDelay);
    out.push_back(d.probeAlarmOff);
    out.push_back(d.numPumps);
    for (const DishwashPump& pump : d.pumps) {
        out.push_back(pump.speed);
        putPair(out, pump.run);
        putPair(out, pump.off);
        out.push_back(pump.pulse);
        out.insert(out.end(), pump.flow.begin(), pump.flow.end());
    }
    out.push_back(d.ioCheckbox);
    for (const DishwashOutput& output : d.outputs) {
        out.push_back(output.percent);
        putPair(out, output.time);
        putPair(out, output.duration);
    }
    out.push_back(d.propRunning);
    out.push_back(d.propTo);
    out.push_back(clockHours);
    out.push_back(clockMinutes);
    out.insert(out.end(), d.spare.begin(), d.spare.end());
    return out;
}

}  // namespace qelto::sim
