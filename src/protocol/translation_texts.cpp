// Names, customer lines, the unit description, comments and the serial texts.
#include <algorithm>

#include "protocol/translation_parts.h"

namespace qelto::protocol {

std::string commentsText(const CommentsPart& comments) {
    const std::size_t count = std::min<std::size_t>(comments.count, kMaxCommentBlocks);
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += slotText(comments.blocks[i]);
    }
    return text;
}

namespace translate {
namespace {

// A slot's text without the byte kept for its terminator: names at most 25 characters, customer
// lines at most 16.
template <std::size_t N>
std::string textBeforeLastByte(const TextSlot<N>& slot) {
    return slotText(std::span<const char>(slot).first(N - 1));
}

template <std::size_t N>
void namesToStrings(const std::array<TextSlot<kNameSlot>, N>& slots,
                    std::array<std::string, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
        names[i] = textBeforeLastByte(slots[i]);
    }
}

}  // namespace

void namesFromDocument(const model::CProgData& config, ProgNamesPart& progNames) {
    for (std::size_t i = 0; i < model::kPrograms; ++i) {
        setTerminatedText(progNames.names[i], config.progName[i]);
    }
}

void namesFromDocument(const model::CProgData& config, PumpNamesPart& pumpNames) {
    for (std::size_t i = 0; i < model::kPumps; ++i) {
        setTerminatedText(pumpNames.names[i], config.pumpName[i]);
    }
}

void namesFromDocument(const model::CProgData& config, CustNamePart& custName) {
    setTerminatedText(custName.lines[0], model::textOf(config.customerName1));
    setTerminatedText(custName.lines[1], model::textOf(config.customerName2));
}

// The unit keeps up to 17 characters, the document 16: the slot takes the document's text whole.
void descriptionFromDocument(const model::CProgData& config,
                             TextSlot<kUnitDescriptionSlot>& description) {
    setSlotText(description, model::textOf(config.unitDescription));
}

void commentsFromDocument(const model::CProgData& config, CommentsPart& comments) {
    comments = commentsFromText(config.comments);
}

void serialNumbersFromDocument(const model::CProgData& config, SerialNumbersPart& serials) {
    setTerminatedText(serials.unitSerial, model::textOf(config.SerialNoUnit));
    setTerminatedText(serials.cpuSerial, model::textOf(config.SerialNoCPU));
}

void progNamesToDocument(const ProgNamesPart& progNames, model::CProgData& config) {
    namesToStrings(progNames.names, config.progName);
}

void pumpNamesToDocument(const PumpNamesPart& pumpNames, model::CProgData& config) {
    namesToStrings(pumpNames.names, config.pumpName);
}

void custNameToDocument(const CustNamePart& custName, model::CProgData& config) {
    model::setText(config.customerName1, textBeforeLastByte(custName.lines[0]));
    model::setText(config.customerName2, textBeforeLastByte(custName.lines[1]));
}

// A seventeenth character from the unit does not fit the document's field and is dropped.
void descriptionToDocument(const TextSlot<kUnitDescriptionSlot>& description,
                           model::CProgData& config) {
    model::setText(config.unitDescription, slotText(description));
}

void progNamesToCopy(const ProgNamesPart& progNames, model::CommsCopy& copy) {
    namesToStrings(progNames.names, copy.progName);
}

void pumpNamesToCopy(const PumpNamesPart& pumpNames, model::CommsCopy& copy) {
    namesToStrings(pumpNames.names, copy.pumpName);
}

void custNameToCopy(const CustNamePart& custName, model::CommsCopy& copy) {
    model::setText(copy.customerName1, textBeforeLastByte(custName.lines[0]));
    model::setText(copy.customerName2, textBeforeLastByte(custName.lines[1]));
}

}  // namespace translate
}  // namespace qelto::protocol
