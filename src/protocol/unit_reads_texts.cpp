#include <algorithm>

#include "protocol/unit_reads.h"

namespace qelto::protocol {

namespace {

// The unit stores each block as a C string; a zero in the middle of the text would cut the
// joined comment short. Every block but the last therefore ends in "." and spaces, and the last
// block is always terminated.
void joinCommentBlocks(CommentsPart& comments, std::size_t count) {
    for (std::size_t i = 0; i + 1 < count; ++i) {
        auto& block = comments.blocks[i];
        const auto zero = std::find(block.begin(), block.end(), '\0');
        if (zero != block.end()) {
            *zero = '.';
            std::fill(zero + 1, block.end(), ' ');
        }
    }
    comments.blocks[count - 1][kCommentSlot - 1] = '\0';
}

}  // namespace

bool GetComments(CommentsPart& comments, UnitChannel& channel) {
    comments = {};
    const auto first = channel.ask(makePoll(CMD_GET_COMMENTS, 1));
    if (!first) {
        return false;
    }
    if (first->id() == PKT_NAK) {
        return true;  // a unit without comments refuses the first block
    }
    const auto head = parseComment(*first);
    if (!head) {
        return false;
    }
    // The count byte can say up to 255, but the record has room for 100 blocks only.
    const std::size_t count = std::min<std::size_t>(head->count, kMaxCommentBlocks);
    if (count == 0) {
        return true;
    }
    ProgressScope progress(channel.observer(), static_cast<int>(count));
    // The first block is asked for again: the first answer only told how many there are.
    for (std::size_t i = 0; i < count; ++i) {
        const auto reply =
            channel.ask(makePoll(CMD_GET_COMMENTS, static_cast<std::uint8_t>(i + 1)));
        const auto block = reply ? parseComment(*reply) : std::nullopt;
        if (!block) {
            return false;
        }
        setSlotText(comments.blocks[i], block->text);
        progress.step();
    }
    joinCommentBlocks(comments, count);
    comments.count = static_cast<std::uint8_t>(count);
    return true;
}

bool GetProgName(ProgNamesPart& progNames, UnitChannel& channel) {
    // The bar is shown for the wait only; the names come too fast to be worth counting.
    ProgressScope progress(channel.observer(), static_cast<int>(kCommsPrograms));
    for (std::uint8_t program = 0; program < kCommsPrograms; ++program) {
        const auto reply = channel.ask(makePoll(CMD_GET_PROGNAME, program));
        const auto name = reply ? parseProgName(*reply) : std::nullopt;
        if (!name) {
            return false;
        }
        setTerminatedText(progNames.names[program], name->text);
    }
    return true;
}

bool GetPumpName(PumpNamesPart& pumpNames, UnitChannel& channel) {
    ProgressScope progress(channel.observer(), static_cast<int>(kCommsPumps));
    for (std::uint8_t pump = 0; pump < kCommsPumps; ++pump) {
        const auto reply = channel.ask(makePoll(CMD_GET_PUMPNAME, pump));
        const auto name = reply ? parsePumpName(*reply) : std::nullopt;
        if (!name) {
            return false;
        }
        setTerminatedText(pumpNames.names[pump], name->text);
        progress.step();
    }
    return true;
}

}  // namespace qelto::protocol
