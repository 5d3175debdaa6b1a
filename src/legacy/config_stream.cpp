#include "legacy/config_stream.h"

#include <algorithm>

namespace qelto::legacy {
namespace {

namespace lc = model::lc;

enum class Kind {
    Bytes,  // copied as they are
    Time,   // a MinSec sent as a word of seconds
    Pin,    // a word, kept little-endian in the image
};

struct Field {
    std::size_t offset;  // in the legacy image
    std::size_t size;    // on the wire
    Kind kind;
};

// The wire order. The default run and delay times travel as minute and second bytes, unlike the
// three unit-wide times; their third bytes and the last-input flag (63) never travel.
constexpr std::array<Field, 20> kFields{{
    {lc::kCustomerName1, lc::kNameWidth, Kind::Bytes},
    {lc::kCustomerName2, lc::kNameWidth, Kind::Bytes},
    {lc::kUnitType, 1, Kind::Bytes},
    {lc::kSpareText, lc::kSpareTextWidth, Kind::Bytes},
    {lc::kPumpSpeed, 1, Kind::Bytes},
    {lc::kAccessCode, 1, Kind::Bytes},
    {lc::kPulseCount, 1, Kind::Bytes},
    {lc::kResetDelayTime, 2, Kind::Time},
    {lc::kFlushValveTime, 2, Kind::Time},
    {lc::kAuxTime, 2, Kind::Time},
    {lc::kRunTime, 1, Kind::Bytes},
    {lc::kRunTime + 1, 1, Kind::Bytes},
    {lc::kDelayTime, 1, Kind::Bytes},
    {lc::kDelayTime + 1, 1, Kind::Bytes},
    {lc::kResetDelayOff, 1, Kind::Bytes},
    {lc::kLegacyByte64, 1, Kind::Bytes},
    {lc::kPin1, 2, Kind::Pin},
    {lc::kPin1 + 2, 2, Kind::Pin},
    {lc::kPin1 + 4, 2, Kind::Pin},
    {lc::kAuxByte, 1, Kind::Bytes},
}};

// A word of seconds can say more than a minutes byte holds (65535 s is 1092 minutes); such a
// time is kept at the longest the image can show instead of wrapping to a short one.
constexpr std::uint32_t kLongestTime = 255 * 60 + 59;

}  // namespace

ConfigStream encodeConfigStream(const model::LegacyConfig& config) {
    ConfigStream out{};
    std::size_t at = 0;
    for (const Field& field : kFields) {
        switch (field.kind) {
            case Kind::Bytes:
                std::copy_n(config.begin() + static_cast<std::ptrdiff_t>(field.offset), field.size,
                            out.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            case Kind::Time: {
                const auto seconds = model::legacyTime(config, field.offset).totalSeconds();
                out[at] = static_cast<std::uint8_t>(seconds >> 8);
                out[at + 1] = static_cast<std::uint8_t>(seconds);
                break;
            }
            case Kind::Pin:
                out[at] = config[field.offset + 1];
                out[at + 1] = config[field.offset];
                break;
        }
        at += field.size;
    }
    return out;
}

std::size_t decodeConfigStream(std::span<const std::uint8_t> received,
                               model::LegacyConfig& config) {
    std::size_t at = 0;
    for (const Field& field : kFields) {
        if (received.size() - at < field.size) {
            break;
        }
        const std::uint8_t* in = received.data() + at;
        switch (field.kind) {
            case Kind::Bytes:
                std::copy_n(in, field.size,
                            config.begin() + static_cast<std::ptrdiff_t>(field.offset));
                break;
            case Kind::Time: {
                const std::uint32_t seconds = std::min<std::uint32_t>(
                    static_cast<std::uint32_t>((in[0] << 8) | in[1]), kLongestTime);
                const model::MinSec time = model::MinSec::fromSeconds(seconds);
                config[field.offset] = time.minutes;
                config[field.offset + 1] = time.seconds;
                config[field.offset + 2] = 0;
                break;
            }
            case Kind::Pin:
                config[field.offset] = in[1];
                config[field.offset + 1] = in[0];
                break;
        }
        at += field.size;
    }
    return at;
}

}  // namespace qelto::legacy
