#include "sim/laundry_unit.h"

#include <ctime>
#include <utility>

#include "sim/unit_packets.h"
#include "sim/usage_packets.h"

namespace qelto::sim {

using namespace protocol;

LaundryUnit::LaundryUnit(LaundryMemory memory, Clock clock)
    : memory_(std::move(memory)), clock_(std::move(clock)) {}

Packet LaundryUnit::nak() const {
    return identityReply(memory_, PKT_NAK);
}

Packet LaundryUnit::ack() const {
    return identityReply(memory_, PKT_ACK);
}

std::int64_t LaundryUnit::hostNow() const {
    return clock_ ? clock_() : static_cast<std::int64_t>(std::time(nullptr));
}

std::optional<Packet> LaundryUnit::answer(const Packet& request) {
    switch (request.id()) {
        case PKT_POLL:
            return answerPoll(request);
        case PKT_HALVERCOTT:
            return ack();
        case PKT_RF_SETTINGS:
            return std::nullopt;
        default:
            return locked_ ? nak() : answerSet(request);
    }
}

std::optional<Packet> LaundryUnit::answerPoll(const Packet& request) {
    const std::uint8_t command = request[6];
    switch (command) {
        case CMD_NONE:
            return ack();
        case CMD_UNLOCK:
            if (request.u16(11) != memory_.accessPin) {
                return nak();
            }
            locked_ = false;
            return ack();
        case CMD_LOCK:
            locked_ = true;
            return ack();
        case CMD_GET_UNIT_DESC:
            return descriptionReply(memory_);
        default:
            break;
    }
    // The PIN guards what changes a unit; reading its settings needs no PIN.
    const bool changesUnit =
        command == CMD_ERASE_FORMULA || command == CMD_ERASE_NAMES || command == CMD_RESET;
    if (locked_ && changesUnit) {
        return nak();
    }
    switch (command) {
        case CMD_ERASE_FORMULA:
            eraseProgramData(memory_);
            return ack();
        case CMD_ERASE_NAMES:
            eraseNames(memory_);
            return ack();
        case CMD_RESET:
            if (request[7] == 0) {
                memory_.counters.cycles = 0;
            } else if (request[7] == 1) {
                memory_.counters.washes = 0;
            } else {
                return nak();
            }
            return ack();
        default:
            break;
    }
    auto reply = answerGet(command, request);
    return reply ? reply : nak();
}

std::optional<Packet> LaundryUnit::answerGet(std::uint8_t command, const Packet& request) {
    const std::uint8_t which = request[7];
    switch (command) {
        case CMD_GET_GLOBAL:
            return which <= 1 ? std::optional(globalsReply(memory_, which)) : std::nullopt;
        case CMD_GET_PROGNAME:
            return programNameReply(memory_, which);
        case CMD_GET_PUMPNAME:
            return pumpNameReply(memory_, which);
        case CMD_GET_CUSTNAME:
            return customerLineReply(memory_, which);
        case CMD_GET_PUMPCAL:
            return calibrationReply(memory_, which);
        case CMD_GET_PROGDATA:
            return programDataReply(memory_, which, request[8]);
        case CMD_GET_COMMENTS:
            return commentReply(memory_, which);
        case CMD_GET_EN_PROGS:
            return enabledTriggersReply(memory_);
        case CMD_GET_AUTOFS:
            return autoFlushReply(memory_);
        case CMD_GET_RESET_TO:
            return resetToReply(memory_);
        case CMD_GET_UNIT_TIME:
            return unitTimeReply(memory_, hostNow());
        case CMD_GET_REPORT:
            return usageReply(memory_, request, logCursor_);
        default:
            // Run times, cycle counts and the rest are not kept by this unit.
            return std::nullopt;
    }
}

std::optional<Packet> LaundryUnit::answerSet(const Packet& request) {
    bool stored = true;
    switch (request.id()) {
        case PKT_GLOBAL1:
        case PKT_GLOBAL2:
            stored = storeGlobals(request, memory_);
            break;
        case PKT_PROGNAME:
            stored = storeProgramName(request, memory_);
            break;
        case PKT_PUMPNAME:
            stored = storePumpName(request, memory_);
            break;
        case PKT_CUSTNAME:
            stored = storeCustomerLine(request, memory_);
            break;
        case PKT_PUMPCAL:
            stored = storeCalibration(request, memory_);
            break;
        case PKT_COMMENTS:
            stored = storeComment(request, memory_);
            break;
        case PKT_UNIT_DESC:
            storeDescription(request, memory_);
            break;
        case PKT_AUTOFS:
            storeAutoFlush(request, memory_);
            break;
        case PKT_RESET_TO:
            stored = storeResetTo(request, memory_);
            break;
        case PKT_UNIT_TIME:
            stored = storeUnitTime(request, memory_, hostNow());
            break;
        case PKT_SERIAL_NUM:
            stored = storeSerialNumber(request, memory_);
            break;
        case PKT_PUMPOPS:
            if (request[6] >= kPumps) {
                return nak();
            }
            if (memory_.pumpRuns.size() >= kMaxPumpRunsKept) {
                memory_.pumpRuns.erase(memory_.pumpRuns.begin());
            }
            memory_.pumpRuns.push_back({request[6], request[7], request[8], request[9]});
            break;
        case PKT_ERASE_EEPROM:
            // The key keeps a stray or garbled packet from wiping a unit.
            stored = request.u32(6) == kEraseEepromKey;
            if (stored) {
                eraseSettingsMemory(memory_);
            }
            break;
        default:
            stored = isProgDataId(request.id()) && storeProgramData(request, memory_);
            break;
    }
    return stored ? ack() : nak();
}

}  // namespace qelto::sim
