#include "legacy/laundry_config.h"

#include <algorithm>
#include <vector>

#include "legacy/command_frame.h"
#include "legacy/config_stream.h"
#include "legacy/device_info.h"
#include "legacy/unit_texts.h"

namespace qelto::legacy {
namespace {

bool receiveConfig(LegacyLink& link, model::LegacyConfig& image) {
    std::vector<std::uint8_t> received;
    received.reserve(kConfigStreamSize);
    std::uint8_t byte = 0;
    while (received.size() < kConfigStreamSize && link.SCI_Rx(byte)) {
        received.push_back(byte);
    }
    decodeConfigStream(received, image);
    return received.size() == kConfigStreamSize;
}

bool sendConfig(LegacyLink& link, const model::LegacyConfig& image) {
    const ConfigStream stream = encodeConfigStream(image);
    return std::all_of(stream.begin(), stream.end(),
                       [&link](std::uint8_t byte) { return link.SCI_Tx(byte); });
}

bool receiveTexts(LegacyLink& link, model::CProgData& config) {
    LegacyProgramNames names;
    std::copy(config.progName.begin(), config.progName.end(), names.begin());
    if (!GetComments(link, config.comments) || !GetProgramNames(link, names)) {
        return false;
    }
    std::copy(names.begin(), names.end(), config.progName.begin());
    return true;
}

bool sendTexts(LegacyLink& link, const model::CProgData& config) {
    LegacyProgramNames names;
    std::copy(config.progName.begin(), config.progName.end(), names.begin());
    return SendProgramNames(link, names) && SendComments(link, config.comments);
}

LegacyOutcome finish(LegacyLink& link, LegacyPrompts& prompts, bool ok, int doneText,
                     int failedText) {
    if (!ok) {
        prompts.message(failedText, LegacyIcon::Error, unitNameText(link.deviceInfo()));
        return LegacyOutcome::Failed;
    }
    prompts.message(doneText, LegacyIcon::Information);
    return LegacyOutcome::Done;
}

}  // namespace

static_assert(kLegacyPrograms == model::kPrograms);

LegacyOutcome ReadLegacyUnit(LegacyLink& link, LegacyPrompts& prompts, model::CProgData& config) {
    const LegacyOutcome outcome = RunPasswordCommand(link, prompts, kCmdReadConfig);
    if (outcome != LegacyOutcome::Done) {
        return outcome;
    }
    bool ok = receiveConfig(link, config.legacyConfig);
    if (ok && hasUnitTexts(link.deviceInfo())) {
        ok = receiveTexts(link, config);
    }
    return finish(link, prompts, ok, kTextReadDone, kTextReadFailed);
}

LegacyOutcome WriteLegacyUnit(LegacyLink& link, LegacyPrompts& prompts,
                              const model::CProgData& config) {
    if (!prompts.askYesNo(kTextConfirmSend)) {
        return LegacyOutcome::Cancelled;
    }
    const LegacyOutcome outcome = RunPasswordCommand(link, prompts, kCmdWriteConfig);
    if (outcome != LegacyOutcome::Done) {
        return outcome;
    }
    bool ok = sendConfig(link, config.legacyConfig);
    if (ok && hasUnitTexts(link.deviceInfo())) {
        ok = sendTexts(link, config);
    }
    return finish(link, prompts, ok, kTextWriteDone, kTextWriteFailed);
}

LegacyOutcome SendThirdPasswordCommand(LegacyLink& link, LegacyPrompts& prompts) {
    if (!prompts.askYesNo(kTextConfirmSend)) {
        return LegacyOutcome::Cancelled;
    }
    const LegacyOutcome outcome = RunPasswordCommand(link, prompts, kCmdThirdPassword);
    if (outcome == LegacyOutcome::Done) {
        prompts.message(kTextWriteDone, LegacyIcon::Information);
    }
    return outcome;
}

}  // namespace qelto::legacy
