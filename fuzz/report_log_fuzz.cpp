// A unit's usage replies can hold anything: a log with damaged words, dates that do not exist,
// programs and pumps past the tables, a log that never ends. The input is the report range and
// shifts, then the unit's replies, 32 bytes each; the read must end without touching memory it
// does not own, and a log read that succeeds must leave a totals row that adds up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "protocol/packet_link.h"
#include "protocol/unit_channel.h"
#include "reports/get_report.h"

namespace {

using namespace qelto;

std::uint32_t takeU32(const std::uint8_t*& data, std::size_t& size) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && size > 0; ++i, ++data, --size) {
        value |= static_cast<std::uint32_t>(*data) << (8 * i);
    }
    return value;
}

class FuzzedUnit final : public protocol::PacketPath {
  public:
    FuzzedUnit(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool isUSB() const override { return true; }
    protocol::LinkStatus writePacket(const protocol::Packet&) override {
        return protocol::LinkStatus::Ok;
    }
    protocol::LinkStatus readPacket(protocol::Packet& packet) override {
        if (size_ == 0) {
            return protocol::LinkStatus::Failed;
        }
        const std::size_t n = size_ < 32 ? size_ : 32;
        packet = {};
        std::memcpy(&packet.bytes[1], data_, n);
        data_ += n;
        size_ -= n;
        return protocol::LinkStatus::Ok;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    reports::ReportOptions options;
    options.fromDay = takeU32(data, size);
    options.toDay = takeU32(data, size);
    options.shiftChoice = static_cast<std::int8_t>(takeU32(data, size) & 0xFF);
    for (auto& shift : options.shifts) {
        shift.start = takeU32(data, size);
        shift.end = takeU32(data, size);
    }
    FuzzedUnit unit(data, size);
    std::atomic<bool> abort{false};
    protocol::PacketLink link(unit, nullptr, abort, [](std::chrono::milliseconds) {});
    protocol::UnitChannel channel(link);
    reports::UsageTables tables;
    const bool ok = reports::GetReport(tables, options, channel);
    if (ok && options.toDay != 0) {
        for (std::size_t pump = 0; pump < reports::kUsagePumps; ++pump) {
            std::uint32_t time = 0;
            for (std::size_t row = 0; row < reports::kUsagePrograms; ++row) {
                time += tables.main[row][pump].time();
            }
            if (tables.main[reports::kTotalsRow][pump].time() != time) {
                std::abort();
            }
        }
    }
    return 0;
}
