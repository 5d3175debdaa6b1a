#include "protocol/unit_reads.h"
#include "protocol/unit_writes.h"

namespace qelto::protocol {

bool EraseNames(UnitChannel& channel) {
    return channel.askAckOrNak(makePoll(CMD_ERASE_NAMES));
}

bool EraseFormula(UnitChannel& channel) {
    return channel.askAck(makePoll(CMD_ERASE_FORMULA));
}

bool ResetCounters(UnitChannel& channel) {
    return channel.askAck(makePoll(CMD_RESET, 0));
}

bool resetWashCounts(UnitChannel& channel) {
    return channel.askAck(makePoll(CMD_RESET, 1));
}

bool eraseSettingsMemory(IdentityPart& identity, UnitChannel& channel) {
    return Identify(identity, channel) && channel.askAck(makeEraseEeprom());
}

bool pumpCommand(const PumpOps& ops, UnitChannel& channel) {
    return channel.askAckOrNak(makePumpOps(ops));
}

bool lockUnit(UnitChannel& channel) {
    return channel.askAck(makePoll(CMD_LOCK));
}

}  // namespace qelto::protocol
