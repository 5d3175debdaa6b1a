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

bool ResetWashCounts(UnitChannel& channel) {
    return channel.askAck(makePoll(CMD_RESET, 1));
}

bool EraseSettingsMemory(IdentityPart& identity, UnitChannel& channel) {
    return Identify(identity, channel) && channel.askAck(makeEraseEeprom());
}

bool PumpCommand(const PumpOps& ops, UnitChannel& channel) {
    return channel.askAckOrNak(makePumpOps(ops));
}

bool LockUnit(UnitChannel& channel) {
    return channel.askAck(makePoll(CMD_LOCK));
}

}  // namespace qelto::protocol
