#include "protocol/unit_reads.h"

namespace qelto::protocol {

namespace {

bool pinKnown(std::int16_t pin) {
    return pin != kPinUnknown && pin != kPinForgotten;
}

// What an unlock or identification answer is trusted for; the other identity bytes are only
// taken from a plain poll.
void copyUnlockIdentity(const UnitIdentity& from, UnitIdentity& to) {
    to.serial = from.serial;
    to.unitTypeIndex = from.unitTypeIndex;
    to.version = from.version;
    to.byte14 = from.byte14;
}

}  // namespace

bool Unlock(CommsData& data, UnitChannel& channel, const PinPrompt& askPin) {
    PinMemory& memory = data.connection;
    if (pinKnown(memory.rememberedPin)) {
        memory.pinAccepted = true;
    } else {
        const auto entered = askPin ? askPin() : std::nullopt;
        if (!entered) {
            // Forgetting the PIN makes the next unlock ask again rather than send a stale one.
            memory.rememberedPin = kPinForgotten;
            memory.pinAccepted = false;
            return false;
        }
        memory.rememberedPin = static_cast<std::int16_t>(*entered);
        memory.pinAccepted = true;
    }
    data.identity.pin = static_cast<std::uint16_t>(memory.rememberedPin);

    const auto reply = channel.ask(makeUnlock(data.identity.pin));
    const auto identity = reply ? parseAck(*reply) : std::nullopt;
    if (!identity) {
        return false;
    }
    copyUnlockIdentity(*identity, data.identity.unit);
    return true;
}

bool SimplePoll(IdentityPart& identity, UnitChannel& channel, int attempts) {
    const auto reply = channel.ask(makePoll(CMD_NONE), attempts);
    if (!reply) {
        return false;
    }
    if (const auto ack = parseAck(*reply)) {
        identity.unit = *ack;
        channel.observer().currentUnit(ack->version, ack->unitTypeIndex);
        return true;
    }
    // A unit that refuses the poll still says what it is, and the caller wants to know that.
    if (const auto nak = parseNak(*reply)) {
        channel.observer().currentUnit(nak->version, nak->unitTypeIndex);
    }
    return false;
}

bool Identify(IdentityPart& identity, UnitChannel& channel) {
    const auto reply = channel.ask(makeIdentify());
    const auto ack = reply ? parseAck(*reply) : std::nullopt;
    if (!ack) {
        return false;
    }
    copyUnlockIdentity(*ack, identity.unit);
    return true;
}

bool getRfSettings(std::uint8_t rfChannel, RfSettingsReply& settings, UnitChannel& channel) {
    const auto reply = channel.ask(makeRfSettingsRequest({rfChannel}), 1);
    const auto parsed = reply ? parseRfSettingsReply(*reply) : std::nullopt;
    if (!parsed) {
        return false;
    }
    settings = *parsed;
    return true;
}

}  // namespace qelto::protocol
