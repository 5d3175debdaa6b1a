#include <optional>

#include "comms/driver_support.h"
#include "comms/software_version.h"
#include "protocol/translation.h"
#include "protocol/unit_operations.h"

namespace qelto::comms {
namespace {

using namespace protocol;

// What the verify options dialog starts from: the settings that make a unit behave differently.
Options verifyPreset() {
    Options preset;
    preset.bProgNames = true;
    preset.bPumpData = true;
    preset.bPumpNames = true;
    return preset;
}

class UnitVerify {
  public:
    explicit UnitVerify(OperationContext& context)
        : ctx_(context), progress_(context.prompts), channel_(context.link, &progress_) {
        translation_.language = context.language;
        documentCalibration_ = context.doc.config().pumpCalibration;
    }

    VerifyOutcome run(const Options& o) {
        (void)Unlock(ctx_.data, channel_, [this] { return ctx_.prompts.askPin(); });
        CommsData& unit = ctx_.data;
        if (o.bProgNames) {
            status(kStatusProgramNames);
            part(COMMS_PROGNAME, "program names",
                 [&] { return GetProgName(unit.progNames, channel_); });
        }
        if (o.bPumpData) {
            compareSettings();
        }
        if (o.bPumpNames) {
            status(kStatusPumpNames);
            part(COMMS_PUMPNAME, "pump names",
                 [&] { return GetPumpName(unit.pumpNames, channel_); });
        }
        if (o.bDescription) {
            part(COMMS_UNITNAME, "unit description",
                 [&] { return GetUnitDescription(unit.unitDescription, channel_); });
        }
        if (o.bComments) {
            status(kStatusComments);
            part(COMMS_COMMENTS, "comments", [&] { return GetComments(unit.comments, channel_); });
        }
        ctx_.prompts.status({});
        outcome_.unitLocked = lockUnit(channel_);
        outcome_.cancelled = channel_.cancelled();
        if (outcome_.cancelled) {
            outcome_.notCompared.clear();
        }
        outcome_.matched = matched_ && !outcome_.cancelled;
        return std::move(outcome_);
    }

  private:
    void compareSettings() {
        CommsData& unit = ctx_.data;
        status(kStatusProgramData);
        part(COMMS_PROGDATA, "program data", [&] { return GetProgdata(unit, channel_); });
        part(COMMS_GLOBALS, "global settings", [&] { return GetGlobals(unit.globals, channel_); });
        if (readable_ && unitSoftwareAtLeast(channel_, kVersion105)) {
            // Units before 1.0.7 cannot be sent the reset-to setting, so theirs is read but not
            // compared.
            const bool compared = unitSoftwareAtLeast(channel_, kVersion107);
            part(compared ? COMMS_RESETTO : kReadOnly, "reset-to setting",
                 [&] { return GetResetToConfig(unit.resetTo, channel_); });
        }
        part(COMMS_CUSTNAME, "customer name", [&] { return GetCustname(unit.custName, channel_); });
        status(kStatusPumpCalibration);
        part(COMMS_CALIBRATION, "pump calibration",
             [&] { return GetPumpCal(unit.calibration, channel_); });
        part(COMMS_AUTOFS, "automatic flush",
             [&] { return GetAutoFSConfig(unit.autoFs, channel_); });
    }

    static constexpr int kReadOnly = -1;

    // Nothing is read after a failed read, so nothing more is shown either.
    void status(int textId) {
        if (readable_) {
            showStatus(ctx_, textId);
        }
    }

    // One part: read from the unit, then compared with the document's side built for it. After
    // a failed read nothing more is read: a unit that stopped answering would only make every
    // later read wait out its retries. What could not be read is no difference: nobody knows
    // what the unit holds there.
    template <typename Get>
    void part(int option, const char* what, Get get) {
        if (!readable_) {
            return;
        }
        if (!get()) {
            readable_ = false;
            matched_ = false;
            outcome_.notCompared = what;
            return;
        }
        if (option == kReadOnly) {
            return;
        }
        CommsData editor;
        GetFromDocumentView(ctx_.doc.config(), editor, option, translation_);
        if (!compareParts(editor, ctx_.data, option, documentCalibration_, outcome_.differences)) {
            matched_ = false;
        }
    }

    OperationContext& ctx_;
    PromptProgress progress_;
    UnitChannel channel_;
    TranslationContext translation_;
    DocumentCalibration documentCalibration_{};
    VerifyOutcome outcome_;
    bool matched_ = true;
    bool readable_ = true;
};

}  // namespace

VerifyOutcome compareUnitWithDocument(OperationContext& context,
                                      const std::optional<Options>& givenOptions) {
    std::optional<Options> options = givenOptions;
    if (!options) {
        options = context.prompts.askOptions(OptionsKind::Verify, verifyPreset());
    }
    if (!options) {
        VerifyOutcome cancelled;
        cancelled.cancelled = true;
        protocol::UnitChannel channel(context.link);
        cancelled.unitLocked = protocol::lockUnit(channel);
        return cancelled;
    }
    return UnitVerify(context).run(*options);
}

OperationResult verifyProgram(OperationContext& context) {
    VerifyOutcome outcome = compareUnitWithDocument(context, std::nullopt);
    OperationResult result;
    result.unitLocked = outcome.unitLocked;
    result.differences = std::move(outcome.differences);
    if (outcome.cancelled) {
        result.status = OperationStatus::Cancelled;
        return result;
    }
    result.verified = outcome.matched;
    result.notCompared = outcome.notCompared;
    result.status = outcome.matched ? OperationStatus::Ok : OperationStatus::Failed;
    if (outcome.matched) {
        result.closingMessage = kMsgVerifyMatched;
        context.prompts.message(result.closingMessage, MessageIcon::Information);
    } else if (!outcome.notCompared.empty()) {
        // Differences found before the read failed are real, but "does not match" would claim
        // a comparison of the parts that were never read.
        result.closingMessage = kMsgVerifyNotCompared;
        context.prompts.message(result.closingMessage, MessageIcon::Error);
    } else {
        result.closingMessage = kMsgVerifyMismatch;
        context.prompts.message(result.closingMessage, MessageIcon::Warning);
    }
    return result;
}

}  // namespace qelto::comms
