#include "sim/fault_plan.h"

#include <charconv>

namespace qelto::sim {

namespace {

bool every(std::uint64_t count, std::uint32_t n) {
    return n != 0 && count % n == 0;
}

bool parseNumber(std::string_view text, std::uint32_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

bool parseRotation(const std::string& text, FaultOptions& options) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    std::uint32_t n = 0;
    std::uint32_t k = 0;
    const std::string_view view(text);
    if (!parseNumber(view.substr(0, colon), n) || !parseNumber(view.substr(colon + 1), k) ||
        n == 0 || k == 0 || k >= 35) {
        return false;
    }
    options.rotateEvery = n;
    options.rotateBy = k;
    return true;
}

RequestFault FaultPlan::onRequest() {
    ++requests_;
    if (options_.silentAfter != 0 && requests_ > options_.silentAfter) {
        return RequestFault::Silent;
    }
    if (every(requests_, options_.dropEvery)) {
        return RequestFault::Drop;
    }
    if (every(requests_, options_.nakEvery)) {
        return RequestFault::Nak;
    }
    return RequestFault::None;
}

ReplyFault FaultPlan::onReply() {
    ++replies_;
    if (every(replies_, options_.corruptEvery)) {
        return ReplyFault::Corrupt;
    }
    if (every(replies_, options_.rotateEvery)) {
        return ReplyFault::Rotate;
    }
    return ReplyFault::None;
}

}  // namespace qelto::sim
