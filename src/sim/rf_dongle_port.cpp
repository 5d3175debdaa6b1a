#include "sim/rf_dongle_port.h"

#include <utility>

#include "protocol/frame.h"

namespace qelto::sim {

using namespace protocol;

namespace {

constexpr std::uint8_t kKeepChannel = 0xFF;

}  // namespace

RfDonglePort::RfDonglePort(std::vector<RfUnit> units, std::set<std::uint8_t> refusedChannels,
                           RequestLog* log)
    : units_(std::move(units)), refused_(std::move(refusedChannels)), log_(log) {
    for (std::size_t i = 0; i < units_.size(); ++i) {
        units_[i].port->setLogTag({{"unit", i}, {"channel", units_[i].channel}});
    }
}

std::vector<std::uint8_t> RfDonglePort::receive(std::span<const std::uint8_t> bytes) {
    reader_.push(bytes);
    std::vector<std::uint8_t> out;
    while (auto request = reader_.next()) {
        ++sequence_;
        if (request->id() == PKT_RF_SETTINGS) {
            answerSettings(*request, out);
        } else {
            relay(*request, out);
        }
    }
    return out;
}

void RfDonglePort::answerSettings(const Packet& request, std::vector<std::uint8_t>& out) {
    const std::uint8_t wanted = request[7];
    nlohmann::json entry{{"id", PKT_RF_SETTINGS}, {"requested", wanted}};
    if (wanted != kKeepChannel && refused_.contains(wanted)) {
        entry["channel"] = channel_;
        entry["outcome"] = "refused";
        log(std::move(entry));
        return;
    }
    const bool switched = wanted != kKeepChannel && wanted != channel_;
    if (wanted != kKeepChannel) {
        channel_ = wanted;
    }
    const RfUnit* unit = unitOn(channel_);
    Packet reply;
    reply.setId(PKT_RF_SETTINGS);
    reply[6] = 1;
    reply[7] = channel_;
    reply[kRfSignalByte] = unit != nullptr ? unit->signal : 0;
    reply[9] = 7;
    reply[10] = 2;
    reply[11] = 'Q';
    reply[12] = 'E';
    reply[13] = 'L';
    const Frame frame = encodeFrame(reply);
    out.insert(out.end(), frame.begin(), frame.end());

    entry["channel"] = channel_;
    entry["signal"] = reply[kRfSignalByte];
    entry["outcome"] = switched ? "switched" : "answered";
    entry["reply"] = PKT_RF_SETTINGS;
    log(std::move(entry));
}

void RfDonglePort::relay(const Packet& request, std::vector<std::uint8_t>& out) {
    const RfUnit* unit = unitOn(channel_);
    if (unit == nullptr) {
        log({{"id", request.id()}, {"channel", channel_}, {"outcome", "no unit"}});
        return;
    }
    // The radio carries the frame as it came; the unit logs what it made of it.
    const Frame frame = encodeFrame(request);
    const auto reply = unit->port->receive(frame);
    out.insert(out.end(), reply.begin(), reply.end());
}

const RfUnit* RfDonglePort::unitOn(std::uint8_t channel) const {
    for (const RfUnit& unit : units_) {
        if (unit.channel == channel) {
            return &unit;
        }
    }
    return nullptr;
}

void RfDonglePort::log(nlohmann::json entry) {
    if (log_ == nullptr) {
        return;
    }
    entry["dongle"] = "rf";
    entry["seq"] = sequence_;
    log_->write(entry);
}

nlohmann::json RfDonglePort::dump() const {
    nlohmann::json units = nlohmann::json::array();
    for (const RfUnit& unit : units_) {
        nlohmann::json state = unit.port->dump();
        state["rfChannel"] = unit.channel;
        state["signal"] = unit.signal;
        units.push_back(std::move(state));
    }
    return units;
}

}  // namespace qelto::sim
