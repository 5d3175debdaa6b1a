#include <algorithm>

#include "protocol/unit_writes.h"

namespace qelto::protocol {

bool SetGlobals(const GlobalsPart& globals, UnitChannel& channel) {
    GlobalBlock1 block1 = globals.block1;
    block1.unitSerial = 0;
    block1.bytes26to28 = {};
    GlobalBlock2 block2 = globals.block2;
    block2.unitSerial = 0;
    block2.words18to21 = {};
    return channel.askAck(makeGlobalBlock1(block1)) && channel.askAck(makeGlobalBlock2(block2));
}

bool SetCustName(const CustNamePart& custName, UnitChannel& channel) {
    for (std::uint8_t line = 0; line < kCustomerLines; ++line) {
        if (!channel.askAck(makeCustomerLine(line, slotText(custName.lines[line])))) {
            return false;
        }
    }
    return true;
}

bool SetComments(const CommentsPart& comments, UnitChannel& channel) {
    const std::size_t count = std::min<std::size_t>(comments.count, kMaxCommentBlocks);
    for (std::size_t i = 0; i < count; ++i) {
        if (!channel.askAck(makeComment({slotText(comments.blocks[i]), 0}))) {
            return false;
        }
    }
    return true;
}

bool SetProgName(const ProgNamesPart& progNames, UnitChannel& channel) {
    for (std::uint8_t program = 0; program < kCommsPrograms; ++program) {
        if (!channel.askAck(makeProgName(program, slotText(progNames.names[program])))) {
            return false;
        }
    }
    return true;
}

bool SetPumpName(const PumpNamesPart& pumpNames, UnitChannel& channel) {
    for (std::uint8_t pump = 0; pump < kCommsPumps; ++pump) {
        if (!channel.askAck(makePumpName(pump, slotText(pumpNames.names[pump])))) {
            return false;
        }
    }
    return true;
}

bool SetUnitDescription(std::string_view text, UnitChannel& channel) {
    return channel.askAck(makeUnitDescription(text.substr(0, kUnitDescriptionWidth)));
}

bool SetResetToConfig(const ResetToPart& resetTo, UnitChannel& channel) {
    // The program choice and FSVersion are the unit's own; only the option travels.
    return channel.askAck(makeResetTo(resetToForOption(resetTo.resetOption)));
}

bool SetAutoFSConfig(const AutoFs& autoFs, UnitChannel& channel) {
    return channel.askAck(makeAutoFs(autoFs));
}

bool SetUnitTime(UnitChannel& channel, const LocalClock& clock) {
    const std::string text = formatUnitTime(clock());
    if (text.empty()) {
        return false;
    }
    return channel.askAck(makeUnitTime(text));
}

bool SetUnitSerialNumber(std::string_view text, UnitChannel& channel) {
    if (text.empty()) {
        return true;  // a document without a serial number leaves the unit's alone
    }
    return channel.askAck(
        makeSerialNumber({kUnitSerialNumber, std::string(text.substr(0, kSerialNumberWidth))}));
}

bool setIdentificationText(std::string_view text, UnitChannel& channel) {
    return channel.askAck(makeSerialNumber({kIdentificationText, std::string(text)}));
}

}  // namespace qelto::protocol
