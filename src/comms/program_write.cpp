#include <fmt/format.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "comms/driver_support.h"
#include "comms/software_version.h"
#include "model/unit_types.h"
#include "protocol/translation.h"
#include "protocol/unit_limits.h"
#include "protocol/unit_operations.h"

namespace qelto::comms {
namespace {

using namespace protocol;

// The status lines of the write that have no string number of their own.
constexpr const char* kStatusSetProgramData = "Set Program Data...";
constexpr const char* kStatusSetSerialNo = "Set SerialNo...";
constexpr const char* kStatusGetUnitComments = "Get current comments from device...";
constexpr const char* kStatusGetUnitProgNames = "Get current program names from device...";
constexpr const char* kStatusGetEditorProgNames = "Get new names from editor...";
constexpr const char* kStatusGetUnitPumpNames = "Get current pump names from device...";
constexpr const char* kStatusGetEditorPumpNames = "Get new pump names from editor...";
constexpr const char* kStatusDeleteNames = "Delete names...";

// A write preset: everything but the unit's own comments kept in front.
Options writePreset() {
    Options preset = allOptions();
    preset.bAppendComments = false;
    preset.bSpare = false;
    return preset;
}

// The unit erases names and comments together, so whatever of them should survive a write is
// read first and sent back after the erase.
struct KeepFlags {
    bool unitProgNames = true;
    bool unitPumpNames = true;
    bool unitComments = true;
};

class ProgramWrite {
  public:
    explicit ProgramWrite(OperationContext& context)
        : ctx_(context), progress_(context.prompts), channel_(context.link, &progress_) {
        translation_.language = context.language;
    }

    OperationResult runClockOnly() {
        unlockAgain();
        if (!SetUnitTime(channel_, ctx_.clock)) {
            error_ = true;
        }
        ctx_.prompts.status({});
        clockOnly_ = true;
        return finish(Options{}, /*askVerify=*/false);
    }

    OperationResult run(const std::optional<Options>& chosen) {
        if (!chosen) {
            return cancelled();
        }
        Options o = *chosen;
        if (o.bPumpCal || o.bPumpData) {
            std::vector<Difference> beyond = valuesBeyondTheUnit(ctx_.doc.config());
            if (!beyond.empty()) {
                return refused(std::move(beyond));
            }
        }
        const bool replaceComments = o.bComments && !o.bAppendComments;
        const bool namesPhase = replaceComments || o.bProgNames || o.bPumpNames;
        KeepFlags keep;
        if (!namesPhase) {
            keep = {false, false, false};
        }
        keep.unitPumpNames = keep.unitPumpNames && !o.bPumpNames;
        keep.unitProgNames = keep.unitProgNames && !o.bProgNames;
        keep.unitComments = keep.unitComments && !replaceComments;

        if (o.bPumpData) {
            unlockAgain();
            if (!unitTypeAgreed()) {
                return refusedUnitType();
            }
            const std::optional<bool> useEditor = chooseCalibration();
            if (!useEditor) {
                return cancelled();
            }
            o.bPumpCal = *useEditor;
        }
        if (ctx_.beforeChanges && !ctx_.beforeChanges()) {
            return refusedWithoutBackup();
        }

        unlockAgain();
        if (o.bPumpCal && !error_) {
            showStatus(ctx_, kStatusPumpCalibration);
            fromDocument(COMMS_CALIBRATION);
            written(SetPumpCal(ctx_.data.calibration, channel_, ctx_.clock, ctx_.sleep));
        }
        if (o.bPumpData && !error_) {
            writeSettings();
        }
        if (o.bSerialNo && canContinue()) {
            writeSerialNumber();
        }
        if (o.bDescription && !error_) {
            fromDocument(COMMS_UNITNAME);
            written(SetUnitDescription(slotText(ctx_.data.unitDescription), channel_));
        }
        if (canContinue()) {
            fromDocument(COMMS_AUTOFS);
            written(SetAutoFSConfig(ctx_.data.autoFs, channel_));
        }
        if (namesPhase && canContinue()) {
            replaceNames(keep);
        }
        if (o.bComments && canContinue()) {
            fromDocument(COMMS_COMMENTS);
            showStatus(ctx_, kStatusComments);
            written(SetComments(ctx_.data.comments, channel_));
        }
        ctx_.prompts.status({});
        return finish(o, /*askVerify=*/true);
    }

  private:
    // Shows the calibration of both sides and asks which to keep; true for the editor's, nullopt
    // when the engineer cancels. A unit that cannot show its calibration gets nothing written.
    std::optional<bool> chooseCalibration() {
        CommsData& data = ctx_.data;
        CalibrationComparison comparison;
        fromDocument(COMMS_CALIBRATION);
        for (std::size_t p = 0; p < kCommsPumps; ++p) {
            comparison.editorValues[p] = data.calibration.pumps[p].volume;
        }
        CalibrationPart unitCalibration;
        IdentityPart polled;
        const bool read = GetPumpCal(unitCalibration, channel_) &&
                          SimplePoll(polled, channel_, kOperationAttempts);
        if (channel_.cancelled()) {
            return std::nullopt;
        }
        if (!read) {
            error_ = true;
            return false;
        }
        translation_.software107OrNewer = versionAtLeast(polled.unit.version, kVersion107);
        for (std::size_t p = 0; p < kCommsPumps; ++p) {
            comparison.unitValues[p] = unitCalibration.pumps[p].volume;
        }
        fromDocument(COMMS_GLOBALS);
        const std::uint8_t documentType = data.globals.block1.unitType;
        const std::uint8_t unitType = polled.unit.unitTypeIndex;
        unitTypeMismatch_ = documentType != unitType;
        comparison.pumpsShown =
            std::max(model::unitPumpCount(documentType), model::unitPumpCount(unitType));
        // Nothing to choose between when both hold the same calibration for every pump shown.
        const auto shown = static_cast<std::size_t>(comparison.pumpsShown);
        if (std::equal(comparison.unitValues.begin(),
                       comparison.unitValues.begin() + static_cast<std::ptrdiff_t>(shown),
                       comparison.editorValues.begin())) {
            return true;
        }
        const std::optional<int> choice = ctx_.prompts.askCalibrationChoice(comparison);
        if (!choice) {
            return std::nullopt;
        }
        return *choice == kChooseEditorCalibration;
    }

    // The unit's type travels in the globals, so writing a document of another type makes the
    // unit that type: a unit wired for four pumps would be told it drives ten. The unlock's reply
    // says what the unit is, so this is settled before anything is written.
    bool unitTypeAgreed() {
        const UnitTypeChange change{ctx_.doc.config().unitType,
                                    ctx_.data.identity.unit.unitTypeIndex};
        return change.documentType == change.unitType || ctx_.prompts.askChangeUnitType(change);
    }

    // Only a serial number read from this very unit since the document was opened goes back into
    // it. The defaults of a new document name no unit, a file may have been read from any unit,
    // and one unit's number written into another would leave two units with one number.
    void writeSerialNumber() {
        const model::CProgData& config = ctx_.doc.config();
        const std::uint32_t unitSerial = ctx_.data.identity.unit.serial;
        const std::string_view documentSerial = model::textOf(config.SerialNoUnit);
        if (config.identitySource != model::IdentitySource::UnitRead ||
            unitSerialFromText(documentSerial) != unitSerial || documentSerial.empty() ||
            documentSerial.find_first_not_of('0') == std::string_view::npos) {
            ctx_.prompts.note(fmt::format("the unit keeps its serial number {:09}", unitSerial));
            return;
        }
        ctx_.prompts.status(kStatusSetSerialNo);
        fromDocument(COMMS_SERIALNO);
        written(SetUnitSerialNumber(slotText(ctx_.data.serialNumbers.unitSerial), channel_));
    }

    // Globals, reset-to and program data, once the unit and the document agree on which pumps
    // are calibrated: a pump dosed by volume on one side and by time on the other would run
    // for a wrong amount.
    void writeSettings() {
        CommsData& data = ctx_.data;
        ctx_.prompts.status(kStatusSetProgramData);
        CalibrationPart unitCalibration;
        if (!GetPumpCal(unitCalibration, channel_)) {
            error_ = true;
            calibrationCheckFailed_ = true;
            return;
        }
        const model::CProgData& config = ctx_.doc.config();
        const std::size_t pumps = std::min<std::size_t>(ctx_.doc.pumpCount(), kCommsPumps);
        for (std::size_t p = 0; p < pumps; ++p) {
            if ((unitCalibration.pumps[p].volume != 0) != (config.pumpCalibration[p] != 0)) {
                calibrationCheckFailed_ = true;
            }
        }
        if (calibrationCheckFailed_) {
            return;
        }
        // Only now: a unit left unwritten by the check must keep its history.
        if (ctx_.resetCounters) {
            written(ResetCounters(channel_));
            if (error_) {
                return;
            }
        }
        fromDocument(COMMS_GLOBALS);
        written(SetGlobals(data.globals, channel_));
        if (error_) {
            return;
        }
        fromDocument(COMMS_RESETTO);
        if (unitSoftwareAtLeast(channel_, kVersion107)) {
            written(SetResetToConfig(data.resetTo, channel_));
        } else if (data.resetTo.resetOption != 2 || data.resetTo.resetProgChoice != 1) {
            resetToUnsupported_ = true;
        }
        if (error_) {
            return;
        }
        written(EraseFormula(channel_));
        if (error_) {
            return;
        }
        fromDocument(COMMS_PROGDATA);
        IdentityPart polled;
        const std::uint8_t defaultPulses = defaultPulseCount(polled, channel_);
        written(SetProgData(data.progData, channel_, defaultPulses));
    }

    // Names and comments go as whole sets after one erase; what the engineer did not choose to
    // replace is read from the unit first and sent back unchanged. Comments being appended to
    // go back first, and the document's follow them.
    void replaceNames(const KeepFlags& keep) {
        CommentsPart unitComments;
        if (keep.unitComments) {
            ctx_.prompts.status(kStatusGetUnitComments);
            written(GetComments(unitComments, channel_));
        }
        ProgNamesPart progNames;
        if (!error_) {
            if (keep.unitProgNames) {
                ctx_.prompts.status(kStatusGetUnitProgNames);
                written(GetProgName(progNames, channel_));
            } else {
                ctx_.prompts.status(kStatusGetEditorProgNames);
                fromDocument(COMMS_PROGNAME);
                progNames = ctx_.data.progNames;
            }
        }
        PumpNamesPart pumpNames;
        if (!error_) {
            if (keep.unitPumpNames) {
                ctx_.prompts.status(kStatusGetUnitPumpNames);
                written(GetPumpName(pumpNames, channel_));
            } else {
                ctx_.prompts.status(kStatusGetEditorPumpNames);
                fromDocument(COMMS_PUMPNAME);
                pumpNames = ctx_.data.pumpNames;
            }
        }
        if (!error_) {
            ctx_.prompts.status(kStatusDeleteNames);
            written(EraseNames(channel_));
        }
        if (!error_) {
            showStatus(ctx_, kStatusProgramNames);
            written(SetProgName(progNames, channel_));
        }
        if (!error_) {
            showStatus(ctx_, kStatusPumpNames);
            written(SetPumpName(pumpNames, channel_));
        }
        if (keep.unitComments && !error_) {
            showStatus(ctx_, kStatusComments);
            written(SetComments(unitComments, channel_));
        }
    }

    OperationResult finish(const Options& o, bool askVerify) {
        OperationResult result;
        if (askVerify && !error_ && !unitTypeMismatch_ &&
            ctx_.prompts.askYesNo(questionOf(ctx_.text, kAskVerifyText, kAskVerifyCaption))) {
            VerifyOutcome verify = compareUnitWithDocument(ctx_, o);
            result.verified = verify.matched;
            result.differences = std::move(verify.differences);
            result.notCompared = std::move(verify.notCompared);
            if (verify.cancelled) {
                channel_.clearCancelled();
                verifyCancelled_ = true;
            }
        }
        // A unit left unlocked takes any stray packet as a change, so a lost lock is sent again.
        result.unitLocked = lockUnit(channel_) || lockUnit(channel_);

        if (resetToUnsupported_) {
            ctx_.prompts.message(kMsgResetToUnsupported, MessageIcon::Warning,
                                 kMsgResetToUnsupportedCaption);
        }
        // The checks that left settings unwritten come first: the engineer must learn that the
        // unit does not hold the document before anything else.
        if (calibrationCheckFailed_ && !error_) {
            close(result, OperationStatus::Failed, kMsgCalibrationMismatch, MessageIcon::Warning);
        } else if (error_) {
            close(result,
                  channel_.cancelled() ? OperationStatus::Cancelled : OperationStatus::Failed,
                  kMsgWriteFailed, MessageIcon::Error);
        } else if (unitTypeMismatch_) {
            close(result, OperationStatus::Ok, kMsgUnitTypeMismatch, MessageIcon::Warning);
        } else if (result.verified == false && !verifyCancelled_ && !result.notCompared.empty()) {
            // The verify's read failed: "does not match" would claim a comparison never made.
            close(result, OperationStatus::Failed, kMsgVerifyNotCompared, MessageIcon::Error);
        } else if (result.verified == false && !verifyCancelled_) {
            // The unit was written, yet reads back otherwise: saying "written" would hide it.
            close(result, OperationStatus::Failed, kMsgVerifyMismatch, MessageIcon::Warning);
        } else if (clockOnly_) {
            close(result, OperationStatus::Ok, kMsgClockSet, MessageIcon::Information);
        } else {
            // The verify's own result goes with the write's message, in the one dialog.
            if (result.verified == true) {
                ctx_.prompts.note(ctx_.text ? ctx_.text(kMsgVerifyMatched) : std::string());
            }
            close(result, OperationStatus::Ok, kMsgWriteDone, MessageIcon::Information);
        }
        return result;
    }

    void close(OperationResult& result, OperationStatus status, int messageId, MessageIcon icon) {
        result.status = status;
        result.closingMessage = messageId;
        ctx_.prompts.message(messageId, icon);
    }

    // Nothing is sent: a value cut to 16 bits would put a different setting into the unit.
    OperationResult refused(std::vector<Difference> beyond) {
        OperationResult result;
        result.unitLocked = lockUnit(channel_) || lockUnit(channel_);
        result.differences = std::move(beyond);
        close(result, OperationStatus::Failed, kMsgValuesBeyondUnit, MessageIcon::Error);
        return result;
    }

    // The engineer would not have the unit's type changed: the unit is locked untouched.
    OperationResult refusedUnitType() {
        OperationResult result;
        result.unitLocked = lockUnit(channel_) || lockUnit(channel_);
        result.status = OperationStatus::Failed;
        return result;
    }

    OperationResult refusedWithoutBackup() {
        if (channel_.cancelled()) {
            return cancelled();
        }
        OperationResult result;
        result.unitLocked = lockUnit(channel_) || lockUnit(channel_);
        close(result, OperationStatus::Failed, kMsgWriteRefusedNoBackup, MessageIcon::Error);
        return result;
    }

    OperationResult cancelled() {
        OperationResult result;
        result.unitLocked = lockUnit(channel_) || lockUnit(channel_);
        result.status = OperationStatus::Cancelled;
        return result;
    }

    // The connection unlocked already; the unit may have locked itself meanwhile. Whether the
    // unlock worked shows in the writes that follow.
    void unlockAgain() {
        (void)Unlock(ctx_.data, channel_, [this] { return ctx_.prompts.askPin(); });
    }

    bool canContinue() const { return !error_ && !calibrationCheckFailed_; }

    void written(bool ok) {
        if (!ok) {
            error_ = true;
        }
    }

    // The document's part, immediately before the Set that sends it: the parts share a record.
    void fromDocument(int option) {
        GetFromDocumentView(ctx_.doc.config(), ctx_.data, option, translation_);
    }

    OperationContext& ctx_;
    PromptProgress progress_;
    UnitChannel channel_;
    TranslationContext translation_;
    bool error_ = false;
    bool calibrationCheckFailed_ = false;
    bool unitTypeMismatch_ = false;
    bool resetToUnsupported_ = false;
    bool verifyCancelled_ = false;
    bool clockOnly_ = false;  // only the clock was set
};

}  // namespace

OperationResult writeProgram(OperationContext& context, bool& clockOnly) {
    if (clockOnly) {
        clockOnly = false;
        return ProgramWrite(context).runClockOnly();
    }
    const std::optional<Options> options =
        context.prompts.askOptions(OptionsKind::Write, writePreset());
    return ProgramWrite(context).run(options);
}

}  // namespace qelto::comms
