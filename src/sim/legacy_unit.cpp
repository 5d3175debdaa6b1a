#include "sim/legacy_unit.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "sim/legacy_crc.h"
#include "sim/sim_state.h"

namespace qelto::sim {

namespace {

constexpr std::uint8_t kStx = 0xC8;
constexpr std::uint8_t kSignOn = 0xE8;
constexpr std::uint8_t kReadConfig = 0xD3;  // password commands arrive with bit 0 set
constexpr std::uint8_t kWriteConfig = 0xDD;
constexpr std::uint8_t kThirdCommand = 0xE7;
constexpr std::uint8_t kReportSettings = 0x7A;
constexpr std::uint8_t kGetNames = 0xCC;
constexpr std::uint8_t kSendNames = 0xCE;
constexpr std::uint8_t kGetComments = 0xEA;
constexpr std::uint8_t kSendComments = 0xEC;
constexpr std::uint8_t kSpareByte = 0xF8;
constexpr std::uint8_t kReportUsage = 0xF2;
constexpr std::uint8_t kTextDump = 0xFE;
constexpr std::uint8_t kDataPacket = 0x40;
constexpr std::uint8_t kEndPacket = 0x80;
constexpr std::uint8_t kPacketTaken = 0xAA;
constexpr std::uint8_t kPacketRefused = 0x55;
constexpr std::size_t kNamePacketSize = 128;
constexpr auto kAbandonAfter = std::chrono::milliseconds(3500);

void putPacketHeader(std::vector<std::uint8_t>& out, std::uint8_t type, std::size_t address,
                     std::size_t count) {
    out.push_back(type);
    out.push_back(static_cast<std::uint8_t>(address >> 8));
    out.push_back(static_cast<std::uint8_t>(address));
    out.push_back(static_cast<std::uint8_t>(count));
}

}  // namespace

LegacyUnit::LegacyUnit(LegacyMemory memory, FaultPlan faults, RequestLog* log, Clock clock)
    : memory_(std::move(memory)), faults_(faults), log_(log), clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] { return std::chrono::steady_clock::now(); };
    }
}

nlohmann::json LegacyUnit::dump() const {
    return legacyStateToJson(memory_);
}

std::vector<std::uint8_t> LegacyUnit::receive(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    const auto now = clock_();
    if (state_ != State::Idle && now - lastByte_ > kAbandonAfter) {
        state_ = State::Idle;
    }
    for (const std::uint8_t byte : bytes) {
        onByte(byte, out);
    }
    if (!bytes.empty()) {
        lastByte_ = now;
    }
    return out;
}

void LegacyUnit::onByte(std::uint8_t byte, std::vector<std::uint8_t>& out) {
    switch (state_) {
        case State::Idle:
            if (byte == kStx) {
                collected_.clear();
                state_ = State::Frame;
            }
            return;
        case State::Frame:
            collected_.push_back(byte);
            if (collected_.size() == 4) {
                state_ = State::Idle;
                onFrame(out);
            }
            return;
        case State::Echo:
            if (byte == command_) {
                state_ = State::Idle;
                onEcho(out);
            } else if (byte == kStx) {
                // The PC gave up on the last command and starts a new frame.
                collected_.clear();
                state_ = State::Frame;
            } else {
                state_ = State::Idle;
            }
            return;
        case State::Password:
            collected_.push_back(byte);
            if (collected_.size() == 2) {
                state_ = State::Idle;
                onPassword(out);
            }
            return;
        case State::Config:
            collected_.push_back(byte);
            if (collected_.size() == kLegacyConfigStreamSize) {
                memory_.config = decodeConfigStream(collected_);
                state_ = State::Idle;
            }
            return;
        case State::Packet:
            onPacketByte(byte, out);
            return;
        case State::SpareByte:
            memory_.spareByte = byte;
            out.push_back(byte);
            state_ = State::Idle;
            return;
    }
}

bool LegacyUnit::commandKnown(std::uint8_t command) const {
    const bool laundry = memory_.kind == LegacyKind::Laundry;
    switch (command) {
        case kSignOn:
        case kThirdCommand:
        case kTextDump:
            return true;
        case kReportUsage:
            return laundry;
        case kReadConfig:
        case kWriteConfig:
            return laundry;
        case kReportSettings:
            return !laundry;
        case kGetNames:
        case kSendNames:
        case kGetComments:
        case kSendComments:
        case kSpareByte:
            return legacyHasNames(memory_);
        default:
            return false;
    }
}

void LegacyUnit::logFrame(const std::string& outcome) {
    if (log_ != nullptr) {
        log_->write(
            {{"seq", sequence_}, {"legacyCmd", command_}, {"data", data_}, {"outcome", outcome}});
    }
}

void LegacyUnit::onFrame(std::vector<std::uint8_t>& out) {
    command_ = collected_[0];
    data_ = collected_[1];
    ++sequence_;
    const auto crc = static_cast<std::uint16_t>((collected_[2] << 8) | collected_[3]);
    if (crc != legacyCrc({command_, data_})) {
        logFrame("badcrc");
        return;
    }
    switch (faults_.onRequest()) {
        case RequestFault::Silent:
            logFrame("silent");
            return;
        case RequestFault::Drop:
            logFrame("dropped");
            return;
        case RequestFault::Nak:
            out.push_back(static_cast<std::uint8_t>(command_ + 2));
            logFrame("nak");
            return;
        case RequestFault::None:
            break;
    }
    if (!commandKnown(command_)) {
        logFrame("unanswered");
        return;
    }
    out.push_back(static_cast<std::uint8_t>(command_ + 1));
    logFrame("answered");
    state_ = State::Echo;
}

void LegacyUnit::onEcho(std::vector<std::uint8_t>& out) {
    collected_.clear();
    switch (command_) {
        case kSignOn:
            if (memory_.version) {
                out.push_back(memory_.kind == LegacyKind::Laundry ? memory_.config.unitType
                                                                  : memory_.signOnType);
                for (const char c : *memory_.version) {
                    out.push_back(static_cast<std::uint8_t>(c));
                }
            }
            return;
        case kReadConfig:
        case kWriteConfig:
        case kThirdCommand:
            state_ = State::Password;
            return;
        case kReportSettings: {
            const std::time_t t = std::time(nullptr);
            std::tm local{};
            ::localtime_r(&t, &local);
            const auto report =
                encodeDishwashReport(memory_, static_cast<std::uint8_t>(local.tm_hour),
                                     static_cast<std::uint8_t>(local.tm_min));
            out.insert(out.end(), report.begin(), report.end());
            return;
        }
        case kReportUsage: {
            const auto report = encodeLaundryUsage(memory_);
            out.insert(out.end(), report.begin(), report.end());
            return;
        }
        case kTextDump:
            out.insert(out.end(), memory_.dumpText.begin(), memory_.dumpText.end());
            out.push_back(0);
            return;
        case kGetNames:
            sendNames(out);
            return;
        case kGetComments:
            sendComments(out);
            return;
        case kSendNames:
            incomingNames_ = memory_.programNames;
            state_ = State::Packet;
            return;
        case kSendComments:
            incomingComments_.clear();
            state_ = State::Packet;
            return;
        case kSpareByte:
            state_ = State::SpareByte;
            return;
        default:
            return;
    }
}

void LegacyUnit::onPassword(std::vector<std::uint8_t>& out) {
    const auto given = static_cast<std::uint16_t>((collected_[0] << 8) | collected_[1]);
    collected_.clear();
    if (given != memory_.password) {
        out.push_back(0);
        logFrame("refused");
        return;
    }
    out.push_back(1);
    logFrame("accepted");
    if (command_ == kReadConfig) {
        const auto stream = encodeConfigStream(memory_.config);
        out.insert(out.end(), stream.begin(), stream.end());
    } else if (command_ == kWriteConfig) {
        state_ = State::Config;
    } else {
        ++memory_.thirdCommandCount;
    }
}

void LegacyUnit::onPacketByte(std::uint8_t byte, std::vector<std::uint8_t>& out) {
    collected_.push_back(byte);
    if (collected_.size() < 4 || collected_.size() < 4u + collected_[3]) {
        return;
    }
    const std::uint8_t type = collected_[0];
    const std::size_t address = static_cast<std::size_t>((collected_[1] << 8) | collected_[2]);
    const std::vector<std::uint8_t> data(collected_.begin() + 4, collected_.end());
    collected_.clear();
    if (type == kEndPacket) {
        state_ = State::Idle;
        if (command_ == kSendNames) {
            memory_.programNames = incomingNames_;
        } else {
            const auto end = std::find(incomingComments_.begin(), incomingComments_.end(), 0);
            memory_.comments.assign(incomingComments_.begin(), end);
        }
        return;
    }
    bool placed = false;
    if (type == kDataPacket && command_ == kSendNames) {
        const std::size_t index = address / kLegacyProgramNameLength;
        if (address % kLegacyProgramNameLength == 0 && index < incomingNames_.size()) {
            const auto end = std::find(data.begin(), data.end(), 0);
            std::string name(data.begin(), end);
            name.resize(std::min(name.size(), kLegacyProgramNameLength));
            incomingNames_[index] = name;
            placed = true;
        }
    } else if (type == kDataPacket && address + data.size() <= kLegacyCommentsMax) {
        if (incomingComments_.size() < address + data.size()) {
            incomingComments_.resize(address + data.size(), 0);
        }
        std::copy(data.begin(), data.end(),
                  incomingComments_.begin() + static_cast<std::ptrdiff_t>(address));
        placed = true;
    }
    out.push_back(placed ? kPacketTaken : kPacketRefused);
    if (type != kDataPacket) {
        state_ = State::Idle;
    }
}

void LegacyUnit::sendNames(std::vector<std::uint8_t>& out) const {
    for (std::size_t i = 0; i < memory_.programNames.size(); ++i) {
        const std::string& name = memory_.programNames[i];
        putPacketHeader(out, kDataPacket, kLegacyProgramNameLength * i, kNamePacketSize);
        for (std::size_t k = 0; k < kNamePacketSize; ++k) {
            out.push_back(k < name.size() ? static_cast<std::uint8_t>(name[k]) : 0);
        }
    }
    putPacketHeader(out, kEndPacket, 0, 0);
}

void LegacyUnit::sendComments(std::vector<std::uint8_t>& out) const {
    const std::string& text = memory_.comments;
    for (std::size_t offset = 0; offset < text.size(); offset += kNamePacketSize) {
        const std::size_t n = std::min(kNamePacketSize, text.size() - offset);
        putPacketHeader(out, kDataPacket, offset, n);
        for (std::size_t k = 0; k < n; ++k) {
            out.push_back(static_cast<std::uint8_t>(text[offset + k]));
        }
    }
    putPacketHeader(out, kEndPacket, 0, 0);
}

}  // namespace qelto::sim
