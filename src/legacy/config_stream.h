// The 66-byte configuration stream of a legacy laundry unit and where each of its bytes lives in
// the configuration record's legacy image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/legacy_config.h"

namespace qelto::legacy {

inline constexpr std::size_t kConfigStreamSize = 66;

using ConfigStream = std::array<std::uint8_t, kConfigStreamSize>;

// The stream a write sends. Times go out as seconds and PINs as words, both high byte first.
ConfigStream encodeConfigStream(const model::LegacyConfig& config);

// Stores every field that the received bytes complete; a field cut off by the end of the bytes is
// left as it was, so a read that breaks off keeps what had arrived. Bytes past the stream's end
// are ignored. Returns the number of bytes taken.
std::size_t decodeConfigStream(std::span<const std::uint8_t> received, model::LegacyConfig& config);

}  // namespace qelto::legacy
