#include "sim/ble_dongle_port.h"

#include <string_view>
#include <utility>

#include "platform/text_helpers.h"

namespace qelto::sim {

namespace {

constexpr std::string_view kDiscover = "AT+DISC?";
constexpr std::string_view kConnect = "AT+CONN";
// Long enough for a PC's two "AT" bytes to arrive together, short against the 100 ms a PC
// waits before it reads the answer.
constexpr std::chrono::milliseconds kCommandPause{30};

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

}  // namespace

BleDonglePort::BleDonglePort(std::vector<BleModule> modules, RequestLog* log)
    : modules_(std::move(modules)), log_(log) {
    for (std::size_t i = 0; i < modules_.size(); ++i) {
        adverts_.push_back(modules_[i].advert);
        modules_[i].port->setLogTag({{"unit", i}, {"module", modules_[i].advert.name}});
    }
}

std::vector<std::uint8_t> BleDonglePort::receive(std::span<const std::uint8_t> bytes) {
    if (paired_) {
        return modules_[*paired_].port->receive(bytes);
    }
    pending_.append(bytes.begin(), bytes.end());
    std::string text;
    runCommands(text);
    auto out = bytesOf(text);
    if (paired_ && !pending_.empty()) {
        // Whatever followed "AT+CONN<d>" in the same burst is already the unit's.
        const auto rest = modules_[*paired_].port->receive(
            std::span(reinterpret_cast<const std::uint8_t*>(pending_.data()), pending_.size()));
        out.insert(out.end(), rest.begin(), rest.end());
        pending_.clear();
    }
    return out;
}

void BleDonglePort::runCommands(std::string& out) {
    while (!paired_) {
        pending_.erase(0, pending_.find('A'));
        if (pending_.size() < 2) {
            return;
        }
        if (pending_[1] != 'T') {
            pending_.erase(0, 1);
            continue;
        }
        if (pending_.size() == 2) {
            return;  // "AT", or the start of a longer command: the pause will tell
        }
        if (pending_[2] != '+') {
            out += "OK";
            log({{"command", "AT"}, {"outcome", "answered"}});
            pending_.erase(0, 2);
            continue;
        }
        if (pending_.starts_with(kDiscover)) {
            out += discoveryReply(adverts_);
            log({{"command", kDiscover}, {"outcome", "answered"}, {"modules", adverts_.size()}});
            pending_.erase(0, kDiscover.size());
            continue;
        }
        if (pending_.starts_with(kConnect)) {
            if (pending_.size() <= kConnect.size()) {
                return;
            }
            connect(pending_[kConnect.size()], out);
            pending_.erase(0, kConnect.size() + 1);
            continue;
        }
        if (kDiscover.starts_with(pending_) || kConnect.starts_with(pending_)) {
            return;
        }
        pending_.erase(0, 1);
    }
}

void BleDonglePort::connect(char digit, std::string& out) {
    const auto index = static_cast<std::size_t>(static_cast<unsigned char>(digit) - '0');
    const bool known = platform::isDigit(digit) && index < modules_.size();
    out += known ? "K+C" : "K-C";
    out += digit;
    nlohmann::json entry{{"command", "AT+CONN"}, {"digit", static_cast<unsigned char>(digit)}};
    if (known) {
        paired_ = index;
        entry["outcome"] = "paired";
        entry["module"] = modules_[index].advert.name;
    } else {
        entry["outcome"] = "refused";
    }
    log(std::move(entry));
}

std::optional<std::chrono::milliseconds> BleDonglePort::quietWanted() const {
    if (paired_ || pending_.empty()) {
        return std::nullopt;
    }
    return kCommandPause;
}

std::vector<std::uint8_t> BleDonglePort::onQuiet() {
    const bool at = pending_ == "AT";
    pending_.clear();
    if (!at) {
        return {};
    }
    log({{"command", "AT"}, {"outcome", "answered"}});
    return bytesOf("OK");
}

void BleDonglePort::log(nlohmann::json entry) {
    if (log_ == nullptr) {
        return;
    }
    entry["dongle"] = "ble";
    entry["seq"] = ++sequence_;
    log_->write(entry);
}

nlohmann::json BleDonglePort::dump() const {
    nlohmann::json units = nlohmann::json::array();
    for (std::size_t i = 0; i < modules_.size(); ++i) {
        nlohmann::json state = modules_[i].port->dump();
        state["module"] = modules_[i].advert.name;
        state["signal"] = modules_[i].advert.signal;
        state["paired"] = paired_ == i;
        units.push_back(std::move(state));
    }
    return units;
}

}  // namespace qelto::sim
