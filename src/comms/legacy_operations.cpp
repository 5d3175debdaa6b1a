#include "comms/legacy_operations.h"

#include <fmt/format.h>

#include <chrono>

#include "comms/legacy_context.h"
#include "legacy/command_frame.h"
#include "legacy/device_info.h"
#include "legacy/dishwash_settings.h"
#include "legacy/laundry_config.h"
#include "legacy/laundry_usage.h"
#include "legacy/text_dump.h"
#include "legacy/unit_texts.h"
#include "legacy/usage_report_data.h"
#include "model/unit_types.h"

namespace qelto::comms {
namespace {

using namespace std::chrono_literals;
using legacy::LegacyResult;

constexpr auto kBetweenAttempts = 100ms;

OperationResult ended(OperationStatus status, int closingMessage = 0) {
    OperationResult result;
    result.status = status;
    result.closingMessage = closingMessage;
    return result;
}

OperationResult cancelled() {
    return ended(OperationStatus::Cancelled);
}

// The signed-on unit as the messages name it: its catalog text, else its model name.
std::string unitName(const LegacyContext& context) {
    const legacy::UnitNameText name = legacy::unitNameText(context.link.deviceInfo());
    if (name.textId != 0 && context.text) {
        std::string text = context.text(name.textId);
        if (text != "#" + std::to_string(name.textId)) {
            return text;
        }
    }
    return model::unitModelName(name.typeCode);
}

// A message whose text names the unit at its "%s" (or after it, when the text has none).
OperationResult failed(LegacyContext& context, int textId) {
    if (context.link.cancelled()) {
        return cancelled();
    }
    std::string text = context.text ? context.text(textId) : std::string{};
    const std::string name = unitName(context);
    if (const auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, name);
    } else {
        text += " (" + name + ")";
    }
    context.prompts.messageText(text, MessageIcon::Error);
    return ended(OperationStatus::Failed, textId);
}

OperationResult done(LegacyContext& context, int textId) {
    if (context.link.cancelled()) {
        return cancelled();
    }
    context.prompts.message(textId, MessageIcon::Information);
    return ended(OperationStatus::Ok, textId);
}

// A port that broke between the session's open and the command: the link says why.
OperationResult portFailed(LegacyContext& context) {
    if (context.link.cancelled()) {
        return cancelled();
    }
    context.prompts.messageText(context.link.openError(), MessageIcon::Error);
    return ended(OperationStatus::Failed);
}

// The password procedure of every protected command: one question, then up to five attempts,
// stopping at once on a refused password (another try would only count against the engineer).
// nullopt when the unit took the command and waits for (or sends) what follows it; otherwise how
// the operation ended, already told.
std::optional<OperationResult> passwordCommand(LegacyContext& context, std::uint8_t code) {
    const std::optional<std::int16_t> password = context.prompts.askPassword();
    if (!password || context.link.cancelled()) {
        return cancelled();
    }
    for (int attempt = 1; attempt <= kPasswordAttempts; ++attempt) {
        switch (context.link.SendCommand(code, *password)) {
            case LegacyResult::Ok:
                return std::nullopt;
            case LegacyResult::PasswordRefused:
                context.prompts.message(kTextWrongPassword, MessageIcon::Error);
                return ended(OperationStatus::Failed, kTextWrongPassword);
            case LegacyResult::PortUnavailable:
                return portFailed(context);
            case LegacyResult::Failed:
                if (context.link.cancelled()) {
                    return cancelled();
                }
                if (attempt < kPasswordAttempts) {
                    context.link.pause(kBetweenAttempts);
                }
                break;
        }
    }
    return failed(context, kTextNoAnswer);
}

// A command without password; nullopt once the unit took it.
std::optional<OperationResult> plainCommand(LegacyContext& context, std::uint8_t code) {
    switch (context.link.SendCmd(code)) {
        case LegacyResult::Ok:
            return std::nullopt;
        case LegacyResult::PortUnavailable:
            return portFailed(context);
        default:
            return failed(context, kTextNoAnswer);
    }
}

bool confirmed(LegacyContext& context) {
    return context.prompts.askYesNo(questionOf(context.text, kTextConfirmSend)) &&
           !context.link.cancelled();
}

void showChanged(LegacyContext& context) {
    context.doc.setModifiedFlag();
    if (context.refreshViews) {
        context.refreshViews(model::DocHint::Opened);
    }
}

}  // namespace

OperationResult readOlderLaundry(LegacyContext& context) {
    if (auto stopped = passwordCommand(context, legacy::kCmdReadConfig)) {
        return *stopped;
    }
    // Into a copy: a read that breaks off must not leave half a unit in the engineer's document.
    model::CProgData read = context.doc.config();
    if (!legacy::receiveLaundryConfig(context.link, read)) {
        return failed(context, kTextReadFailed);
    }
    model::CProgData& config = context.doc.config();
    config.legacyConfig = read.legacyConfig;
    config.progName = read.progName;
    config.comments = read.comments;
    showChanged(context);
    return done(context, kTextOlderReadDone);
}

OperationResult writeOlderLaundry(LegacyContext& context) {
    if (!confirmed(context)) {
        return cancelled();
    }
    if (auto stopped = passwordCommand(context, legacy::kCmdWriteConfig)) {
        return *stopped;
    }
    if (!legacy::sendLaundryConfig(context.link, context.doc.config())) {
        return failed(context, kTextWriteFailed);
    }
    return done(context, kTextOlderWriteDone);
}

OperationResult sendThirdPasswordCommand(LegacyContext& context) {
    if (!confirmed(context)) {
        return cancelled();
    }
    if (auto stopped = passwordCommand(context, legacy::kCmdThirdPassword)) {
        return *stopped;
    }
    return done(context, kTextOlderWriteDone);
}

OperationResult readOlderDishwash(LegacyContext& context) {
    if (auto stopped = plainCommand(context, legacy::kCmdReportSettings)) {
        return *stopped;
    }
    legacy::DishwashReading reading;
    if (!legacy::receiveDishwashSettings(context.link, reading) ||
        (legacy::hasUnitTexts(context.link.deviceInfo()) &&
         !legacy::GetComments(context.link, reading.comments))) {
        return failed(context, kTextReadFailed);
    }
    model::CQeltoDoc& doc = context.doc;
    legacy::storeDishwashStream(reading.stream, doc.dishwash());
    doc.dishwash().DW_Pin = reading.general.pins;
    model::setText(doc.config().customerName1, reading.general.customerLines[0]);
    model::setText(doc.config().customerName2, reading.general.customerLines[1]);
    doc.config().comments = reading.comments;
    // Whoever opens the document (the window, `qeltoctl report`) takes it for a dishwash unit's.
    doc.setActiveView(model::kDishwashEditorView);
    showChanged(context);
    return done(context, kTextOlderReadDone);
}

OperationResult verifyOlderDishwash(LegacyContext& context) {
    if (auto stopped = plainCommand(context, legacy::kCmdReportSettings)) {
        return *stopped;
    }
    legacy::DishwashReading reading;
    if (!legacy::receiveDishwashSettings(context.link, reading)) {
        return failed(context, kTextReadFailed);
    }
    OperationResult result;
    result.differences = legacy::compareDishwashStream(reading.stream, context.doc.dishwash());
    result.verified = result.differences.empty();
    if (context.link.cancelled()) {
        return cancelled();
    }
    result.closingMessage = *result.verified ? kMsgVerifyMatched : kMsgVerifyMismatch;
    context.prompts.message(result.closingMessage,
                            *result.verified ? MessageIcon::Information : MessageIcon::Warning);
    return result;
}

OperationResult readOlderUsage(LegacyContext& context, UnitReport& report) {
    if (auto stopped = plainCommand(context, legacy::kCmdReportLaundryUsage)) {
        return *stopped;
    }
    legacy::LegacyUsage usage;
    if (!legacy::receiveLegacyUsage(context.link, usage)) {
        return failed(context, kTextReadFailed);
    }
    report = UnitReport{};
    report.kind = reports::REP_TYPE_LAUNDRY_CYCLES;
    report.data = legacy::reportDataFromLegacyUsage(usage);
    report.unit = legacy::unitFromLegacyUsage(usage, context.link.deviceInfo());
    report.pumpCount = report.data.pumpCount;
    return context.link.cancelled() ? cancelled() : OperationResult{};
}

OperationResult readOlderTextDump(LegacyContext& context, std::vector<std::string>& lines) {
    if (auto stopped = plainCommand(context, legacy::kCmdUsageReportFE)) {
        return *stopped;
    }
    legacy::receiveTextDump(context.link, lines);
    return context.link.cancelled() ? cancelled() : OperationResult{};
}

OperationResult writeSpareLaundryByte(LegacyContext& context, std::uint8_t value) {
    switch (context.link.SignOn()) {
        case LegacyResult::Ok:
            break;
        case LegacyResult::PortUnavailable:
            return portFailed(context);
        default:
            return failed(context, kTextNoAnswer);
    }
    const legacy::DeviceInfo& info = context.link.deviceInfo();
    if (!legacy::hasUnitTexts(info)) {
        // Earlier units do not acknowledge the command, so it is not even tried.
        const std::string version = info[0] == legacy::kInfoReceived
                                        ? "software " + legacy::versionText(info)
                                        : "no software version given";
        context.prompts.messageText(
            fmt::format("the unit ({}) has no spare laundry byte: it came with software 1.10",
                        version),
            MessageIcon::Error);
        return ended(OperationStatus::Failed);
    }
    if (!legacy::writeSpareLaundryByte(context.link, value)) {
        if (context.link.cancelled()) {
            return cancelled();
        }
        context.prompts.messageText("the unit did not take the spare laundry byte",
                                    MessageIcon::Error);
        return ended(OperationStatus::Failed);
    }
    return context.link.cancelled() ? cancelled() : OperationResult{};
}

std::string olderDifferenceLine(const protocol::Difference& difference) {
    return legacy::differenceLine(difference);
}

}  // namespace qelto::comms
