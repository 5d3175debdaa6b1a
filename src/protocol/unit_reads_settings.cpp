#include "model/unit_types.h"
#include "protocol/unit_reads.h"

namespace qelto::protocol {

bool GetCustname(CustNamePart& custName, UnitChannel& channel) {
    ProgressScope progress(channel.observer(), static_cast<int>(kCustomerLines));
    for (std::uint8_t line = 0; line < kCustomerLines; ++line) {
        const auto reply = channel.ask(makePoll(CMD_GET_CUSTNAME, line));
        const auto text = reply ? parseCustomerLine(*reply) : std::nullopt;
        if (!text) {
            return false;
        }
        setTerminatedText(custName.lines[line], text->text);
        progress.step();
    }
    return true;
}

bool GetUnitTime(TextSlot<kUnitTimeSlot>& unitTime, UnitChannel& channel) {
    unitTime = {};
    const auto reply = channel.ask(makePoll(CMD_GET_UNIT_TIME, 0));
    const auto text = reply ? parseUnitTime(*reply) : std::nullopt;
    if (text) {
        setSlotText(unitTime, *text);
    }
    const std::string shown = slotText(unitTime);
    channel.observer().unitTimeShown(shown.empty() ? kNoClockText : std::string_view(shown));
    return text.has_value();
}

bool GetGlobals(GlobalsPart& globals, UnitChannel& channel) {
    ProgressScope progress(channel.observer(), 2);
    const auto first = channel.ask(makePoll(CMD_GET_GLOBAL, 0));
    const auto block1 = first ? parseGlobalBlock1(*first) : std::nullopt;
    if (!block1) {
        return false;
    }
    globals.block1 = *block1;
    globals.pumpCount = model::unitPumpCount(block1->unitType);
    progress.step();

    const auto second = channel.ask(makePoll(CMD_GET_GLOBAL, 1));
    const auto block2 = second ? parseGlobalBlock2(*second) : std::nullopt;
    if (!block2) {
        return false;
    }
    globals.block2 = *block2;
    progress.step();
    return true;
}

bool GetUnitDescription(TextSlot<kUnitDescriptionSlot>& description, UnitChannel& channel) {
    const auto reply = channel.ask(makePoll(CMD_GET_UNIT_DESC));
    const auto text = reply ? parseUnitDescription(*reply) : std::nullopt;
    if (!text) {
        return false;
    }
    setSlotText(description, *text);
    return true;
}

bool GetResetToConfig(ResetToPart& resetTo, UnitChannel& channel) {
    const auto reply = channel.ask(makePoll(CMD_GET_RESET_TO));
    const auto parsed = reply ? parseResetTo(*reply) : std::nullopt;
    if (!parsed) {
        return false;
    }
    resetTo.resetOption = resetOptionOf(*parsed);
    // The unit does not keep the program choice; 1 is what the editors start from.
    resetTo.resetProgChoice = 1;
    resetTo.FSVersion = parsed->fsVersion;
    return true;
}

bool GetAutoFSConfig(AutoFs& autoFs, UnitChannel& channel) {
    const auto reply = channel.ask(makePoll(CMD_GET_AUTOFS));
    const auto parsed = reply ? parseAutoFs(*reply) : std::nullopt;
    if (!parsed) {
        return false;
    }
    autoFs = *parsed;
    return true;
}

}  // namespace qelto::protocol
