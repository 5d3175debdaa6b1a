// The streams an older unit sends after a command: the laundry configuration stream, the
// dishwash general data and settings, the laundry usage counters and the text dump. Whatever
// arrives, the parsers stay within their buffers, take no byte past the stream's end, and a short
// stream is never taken for a whole one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "legacy/config_stream.h"
#include "legacy/dishwash_stream.h"
#include "legacy/laundry_usage.h"
#include "legacy/text_dump.h"

namespace {

using ByteSourceOver = qelto::legacy::ByteSource;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void dishwash(std::span<const std::uint8_t> bytes, bool secondIc) {
    std::size_t at = 0;
    const qelto::legacy::ByteSource in = [&](std::uint8_t& b) {
        if (at >= bytes.size()) {
            return false;
        }
        b = bytes[at++];
        return true;
    };
    qelto::legacy::DishwashGeneral generalData;
    qelto::legacy::DishwashStream stream;
    const bool general = qelto::legacy::parseDishwashGeneral(in, generalData);
    check(general == (bytes.size() >= qelto::legacy::kDishwashGeneralSize));
    for (const std::string& line : generalData.customerLines) {
        check(line.size() <= 17);
    }
    if (general && qelto::legacy::parseDishwashStream(in, secondIc, stream)) {
        qelto::model::CDishWashViewData record;
        qelto::legacy::storeDishwashStream(stream, record);
        check(qelto::legacy::compareDishwashStream(stream, record).empty() || stream.typeByte < 1 ||
              stream.typeByte > 2 || stream.modeByte < 1 || stream.modeByte > 4);
    }
    check(at <= bytes.size());
}

ByteSourceOver sourceOver(std::span<const std::uint8_t> bytes, std::size_t& at) {
    return [bytes, &at](std::uint8_t& b) {
        if (at >= bytes.size()) {
            return false;
        }
        b = bytes[at++];
        return true;
    };
}

void usageAndDump(std::span<const std::uint8_t> bytes) {
    std::size_t at = 0;
    qelto::legacy::LegacyUsage usage;
    if (qelto::legacy::parseLegacyUsage(sourceOver(bytes, at), usage)) {
        check(usage.pumpCount <= qelto::legacy::kUsagePumps);
    }
    check(at <= bytes.size());

    at = 0;
    std::vector<std::string> lines;
    const std::size_t taken = qelto::legacy::collectDumpLines(sourceOver(bytes, at), lines);
    check(taken <= bytes.size() && !lines.empty());
    for (const std::string& line : lines) {
        check(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    qelto::model::LegacyConfig image{};
    const std::size_t taken = qelto::legacy::decodeConfigStream(bytes, image);
    check(taken <= size && taken <= qelto::legacy::kConfigStreamSize);
    check(taken == qelto::legacy::kConfigStreamSize || size < qelto::legacy::kConfigStreamSize);
    dishwash(bytes, false);
    dishwash(bytes, true);
    usageAndDump(bytes);
    return 0;
}
