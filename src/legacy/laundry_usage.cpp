#include "legacy/laundry_usage.h"

#include "legacy/device_info.h"

namespace qelto::legacy {
namespace {

class Reader {
  public:
    explicit Reader(const ByteSource& in) : in_(in) {}
    std::uint8_t byte() {
        std::uint8_t b = 0;
        ok_ = ok_ && in_(b);
        return ok_ ? b : 0;
    }
    std::uint16_t word() {
        const std::uint8_t high = byte();
        return static_cast<std::uint16_t>((high << 8) | byte());
    }
    bool ok() const { return ok_; }

  private:
    const ByteSource& in_;
    bool ok_ = true;
};

void readTotalsRow(Reader& r, std::size_t pumps, UsageRecord& row) {
    for (std::size_t p = 0; p < pumps; ++p) {
        row.usage[p].high = r.word();
        row.usage[p].middle = r.byte();
        row.usage[p].low = r.byte();
        row.flowRate[p] = r.word();
        row.calibrationDay[p] = r.byte();
        row.calibrationMonth[p] = r.byte();
        row.calibrationYear[p] = r.byte();
    }
    for (std::size_t p = 0; p < pumps; ++p) {
        row.cycles[p] = r.word();
    }
}

void readProgramRow(Reader& r, std::size_t pumps, UsageRecord& row) {
    for (std::size_t p = 0; p < pumps; ++p) {
        // A program's hours fit one byte on the wire.
        row.usage[p].high = r.byte();
        row.usage[p].middle = r.byte();
        row.usage[p].low = r.byte();
    }
    for (std::size_t p = 0; p < pumps; ++p) {
        row.cycles[p] = r.word();
    }
}

}  // namespace

bool parseLegacyUsage(const ByteSource& in, LegacyUsage& usage) {
    Reader r(in);
    usage.pumpCount = r.byte();
    if (!r.ok() || usage.pumpCount > kUsagePumps) {
        return false;
    }
    const std::size_t pumps = usage.pumpCount;
    for (std::uint8_t& present : usage.programPresent) {
        present = r.byte();
    }
    usage.totalCycles = r.word();
    readTotalsRow(r, pumps, usage.records[kUsageTotalsRow]);
    for (std::size_t i = 0; i < kLegacyPrograms && r.ok(); ++i) {
        if (usage.programPresent[i] != 0) {
            readProgramRow(r, pumps, usage.records[i]);
        }
    }
    return r.ok() && parseDishwashGeneral(in, usage.general);
}

bool receiveLegacyUsage(LegacyLink& link, LegacyUsage& usage) {
    const ByteSource wire = [&link](std::uint8_t& byte) { return link.SCI_Rx(byte); };
    return parseLegacyUsage(wire, usage) &&
           (!hasUnitTexts(link.deviceInfo()) ||
            (GetComments(link, usage.comments) && getProgramNames(link, usage.programNames)));
}

}  // namespace qelto::legacy
