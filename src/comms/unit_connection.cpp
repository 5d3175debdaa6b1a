#include "comms/unit_connection.h"

#include <fmt/format.h>

#include "protocol/packet_catalogue.h"
#include "protocol/request_purpose.h"
#include "protocol/unit_reads.h"
#include "protocol/unit_writes.h"

namespace qelto::comms {
namespace {

using namespace protocol;

// As many polls as a scan gives a unit before it counts as absent.
constexpr int kIdentifyAttempts = 2;

bool isLockRequest(const Packet& packet) {
    const auto poll = parsePoll(packet);
    return poll && poll->command == CMD_LOCK;
}

// Who is there. A unit that is busy or locked may refuse a poll with PKT_NAK, but that reply
// carries its identity all the same: it is there, and the unlock may go on.
std::optional<UnitIdentity> pollIdentity(UnitChannel& channel) {
    const auto reply = channel.ask(makePoll(CMD_NONE), kIdentifyAttempts);
    if (!reply) {
        return std::nullopt;
    }
    if (auto acknowledged = parseAck(*reply)) {
        return acknowledged;
    }
    return parseNak(*reply);
}

}  // namespace

LinkStatus CancellablePath::writePacket(const Packet& packet) {
    if (abort_.load() && !isLockRequest(packet)) {
        return LinkStatus::Aborted;
    }
    return path_.writePacket(packet);
}

LinkStatus CancellablePath::readPacket(Packet& packet) {
    return path_.readPacket(packet);
}

std::unique_ptr<UnitConnection> UnitConnection::connect(ScanLinks links, const LinkRequest& request,
                                                        std::uint32_t selectedSerial,
                                                        PacketTap* tap,
                                                        const std::atomic<bool>& abort,
                                                        std::string* error) {
    std::unique_ptr<UnitConnection> session(new UnitConnection(abort));
    if (request.usb) {
        session->hid_ = std::move(links.hid);
        session->path_ = std::make_unique<HidPacketPath>(*session->hid_, request.replyTimeout);
        session->where_ = "USB";
    } else {
        session->serial_ = std::move(links.serial);
        session->serialPath_ = request.port;
        SerialTimings timings;
        timings.reply = request.replyTimeout;
        timings.throttleSteps = request.throttleSteps;
        session->path_ =
            std::make_unique<SerialPacketPath>(*session->serial_, session->state_, timings);
        session->where_ = request.port;
    }
    // Rotated serial replies are re-aligned on the unit the engineer chose.
    session->state_.selectedSerial = selectedSerial;
    session->guarded_ = std::make_unique<CancellablePath>(*session->path_, session->abort_);
    session->link_ = std::make_unique<PacketLink>(*session->guarded_, tap, session->abort_);
    session->link_->setSilenceEndsOperation(true);
    if (request.rfChannel) {
        session->rfChannel_ = request.rfChannel;
        session->where_ += fmt::format(", RF channel {}", *request.rfChannel);
        if (!session->selectRfChannel(*request.rfChannel, error)) {
            return nullptr;
        }
    }
    return session;
}

UnitConnection::~UnitConnection() {
    if (unlocked_) {
        finish(false);
    }
}

// The dongle forwards every later packet on the channel it was given, so the unit behind it is
// reached exactly as a wired one.
bool UnitConnection::selectRfChannel(std::uint8_t channel, std::string* error) {
    UnitChannel unitChannel(*link_);
    RfSettingsReply reply;
    if (getRfSettings(channel, reply, unitChannel)) {
        return true;
    }
    if (error != nullptr) {
        *error = fmt::format(
            "no RF dongle answered on {} when radio channel {} was selected; check that the "
            "dongle is plugged in{}",
            serial_ ? serialPath_ : std::string("USB"), channel,
            serial_ ? " and that this is its port" : "");
    }
    return false;
}

std::string UnitConnection::noUnitMessage() const {
    if (rfChannel_) {
        return fmt::format(
            "no unit answered on {}; check that the unit is switched on and uses radio channel {}",
            where_, *rfChannel_);
    }
    if (serial_ == nullptr) {
        return "the unit on USB did not answer; check that it is switched on";
    }
    return fmt::format(
        "no unit answered on {}; check that the unit is connected to this port and switched on",
        where_);
}

UnlockOutcome UnitConnection::unlock(CommsData& data, OperatorPrompts& prompts,
                                     std::string* error) {
    UnitChannel channel(*link_);
    const std::optional<UnitIdentity> polled = pollIdentity(channel);
    if (!polled) {
        if (channel.cancelled()) {
            return UnlockOutcome::Cancelled;
        }
        if (error != nullptr) {
            *error = noUnitMessage();
        }
        return UnlockOutcome::NoUnit;
    }
    state_.selectedSerial.store(polled->serial);
    identity_ = *polled;

    if (Unlock(data, channel, [&prompts] { return prompts.askPin(); })) {
        unlocked_ = true;
        return UnlockOutcome::Unlocked;
    }
    if (channel.cancelled()) {
        // The unlock may have reached the unit before its answer was given up: lock to be sure.
        unlocked_ = true;
        return UnlockOutcome::Cancelled;
    }
    // Unlock cannot tell a refusal from silence; a unit that still answers a poll refused.
    if (const auto answered = pollIdentity(channel)) {
        if (error != nullptr) {
            *error = fmt::format(
                "unit {:09} on {} refused the PIN; nothing was changed. Check the PIN and run "
                "the command again",
                answered->serial, where_);
        }
        return UnlockOutcome::PinRefused;
    }
    if (error != nullptr) {
        *error = fmt::format(
            "unit {:09} on {} stopped answering while it was being unlocked; check the "
            "connection and try again",
            identity_.serial, where_);
    }
    if (channel.cancelled()) {
        unlocked_ = true;
        return UnlockOutcome::Cancelled;
    }
    return UnlockOutcome::Silent;
}

bool UnitConnection::finish(bool unitLocked) {
    const bool wasUnlocked = unlocked_;
    unlocked_ = false;
    if (!wasUnlocked || unitLocked) {
        return true;
    }
    UnitChannel channel(*link_);
    return lockUnit(channel);
}

std::string UnitConnection::unansweredStep() const {
    const auto& request = link_->unanswered();
    return request ? requestPurpose(*request) : std::string{};
}

}  // namespace qelto::comms
