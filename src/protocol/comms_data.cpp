#include "protocol/comms_data.h"

#include <algorithm>

namespace qelto::protocol {

std::string slotText(std::span<const char> slot) {
    const auto end = std::find(slot.begin(), slot.end(), '\0');
    return {slot.begin(), end};
}

void setSlotText(std::span<char> slot, std::string_view text) {
    std::fill(slot.begin(), slot.end(), '\0');
    const std::size_t n = std::min(slot.size(), text.size());
    std::copy_n(text.begin(), n, slot.begin());
}

CommentsPart commentsFromText(std::string_view text) {
    CommentsPart part;
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size() && count < kMaxCommentBlocks; at += kCommentSlot) {
        setSlotText(part.blocks[count], text.substr(at, kCommentSlot));
        ++count;
    }
    part.count = static_cast<std::uint8_t>(count);
    return part;
}

}  // namespace qelto::protocol
