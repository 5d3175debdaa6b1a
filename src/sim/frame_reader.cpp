#include "sim/frame_reader.h"

#include <algorithm>

#include "protocol/frame.h"

namespace qelto::sim {

using namespace protocol;

void FrameReader::push(std::span<const std::uint8_t> bytes) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Packet> FrameReader::next() {
    for (;;) {
        while (!buffer_.empty() && buffer_.front() != kStartMarker) {
            buffer_.pop_front();
            ++discarded_;
        }
        if (buffer_.size() < kFrameSize) {
            return std::nullopt;
        }
        Frame frame{};
        std::copy_n(buffer_.begin(), kFrameSize, frame.begin());
        if (frameCheckWordValid(frame)) {
            buffer_.erase(buffer_.begin(), buffer_.begin() + kFrameSize);
            return packetFromFrame(frame);
        }
        // This marker started no frame; the real one may begin inside the bytes after it.
        buffer_.pop_front();
        ++discarded_;
    }
}

}  // namespace qelto::sim
