// Serial replies arrive as any 35 bytes a cable, dongle or radio delivers. Re-alignment must
// always produce a rotation of what was received, keep a frame that starts with the marker as
// it is, and the check-word test must never accept a frame whose packet bytes it did not sum.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "protocol/frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qelto::protocol;
    if (size < kFrameSize + 4) {
        return 0;
    }
    Frame received{};
    std::copy_n(data, kFrameSize, received.begin());
    const std::uint32_t serial =
        static_cast<std::uint32_t>(data[35]) | (static_cast<std::uint32_t>(data[36]) << 8) |
        (static_cast<std::uint32_t>(data[37]) << 16) | (static_cast<std::uint32_t>(data[38]) << 24);
    const Frame frame = realignFrame(received, serial);

    bool isRotation = false;
    for (std::size_t k = 0; k < kFrameSize && !isRotation; ++k) {
        isRotation =
            std::equal(frame.begin(), frame.end() - static_cast<std::ptrdiff_t>(k),
                       received.begin() + static_cast<std::ptrdiff_t>(k)) &&
            std::equal(frame.end() - static_cast<std::ptrdiff_t>(k), frame.end(), received.begin());
    }
    if (!isRotation || (received[0] == kStartMarker && frame != received)) {
        std::abort();
    }
    // A frame that passes the test re-encodes to itself.
    if (frameCheckWordValid(frame) && frame[0] == kStartMarker &&
        encodeFrame(packetFromFrame(frame)) != frame) {
        std::abort();
    }
    return 0;
}
