#include "legacy/dishwash_settings.h"

#include "legacy/command_frame.h"
#include "legacy/device_info.h"
#include "legacy/unit_texts.h"

namespace qelto::legacy {
namespace {

LegacyOutcome startReport(LegacyLink& link) {
    switch (link.SendCmd(kCmdReportSettings)) {
        case LegacyResult::Ok:
            return LegacyOutcome::Done;
        case LegacyResult::PortUnavailable:
            return LegacyOutcome::PortUnavailable;
        default:
            return LegacyOutcome::NoAnswer;
    }
}

// The unit answers the command with its general data and the stream in one go, so the verify
// reads past the general data even though it compares only the stream.
bool receiveReport(LegacyLink& link, DishwashReading& reading) {
    const ByteSource wire = [&link](std::uint8_t& byte) { return link.SCI_Rx(byte); };
    return parseDishwashGeneral(wire, reading.general) &&
           parseDishwashStream(wire, hasUnitTexts(link.deviceInfo()), reading.stream);
}

}  // namespace

LegacyOutcome ReadDishwashSettings(LegacyLink& link, DishwashReading& reading) {
    if (const LegacyOutcome started = startReport(link); started != LegacyOutcome::Done) {
        return started;
    }
    if (!receiveReport(link, reading)) {
        return LegacyOutcome::Failed;
    }
    if (hasUnitTexts(link.deviceInfo()) && !GetComments(link, reading.comments)) {
        return LegacyOutcome::Failed;
    }
    return LegacyOutcome::Done;
}

LegacyOutcome VerifyDishwashUnit(LegacyLink& link, const model::CDishWashViewData& record,
                                 std::vector<std::string>& differences) {
    if (const LegacyOutcome started = startReport(link); started != LegacyOutcome::Done) {
        return started;
    }
    DishwashReading reading;
    if (!receiveReport(link, reading)) {
        return LegacyOutcome::Failed;
    }
    differences = compareDishwashStream(reading.stream, record);
    return LegacyOutcome::Done;
}

}  // namespace qelto::legacy
