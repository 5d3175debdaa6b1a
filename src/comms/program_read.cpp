#include <ctime>
#include <optional>
#include <string>
#include <utility>

#include "comms/comment_merge.h"
#include "comms/driver_support.h"
#include "comms/operation_driver.h"
#include "comms/software_version.h"
#include "protocol/packet_catalogue_texts.h"
#include "protocol/translation.h"
#include "protocol/unit_operations.h"

namespace qelto::comms {
namespace {

using namespace protocol;

// A read preset: everything the unit holds, without the engineer's own comments in front.
Options readPreset() {
    Options preset = allOptions();
    preset.bAppendComments = false;
    preset.bSpare = false;
    return preset;
}

// The unit's 14 digits as the engineer reads a time, in the form the window shows the PC's.
std::string readableClock(const std::string& unitText) {
    if (unitText.empty()) {
        return std::string(kNoClockText);
    }
    const std::optional<std::tm> time = parseUnitTimeText(unitText);
    char shown[32] = {};
    if (!time || std::strftime(shown, sizeof shown, "%H:%M:%S - %d/%m/%Y", &*time) == 0) {
        return unitText;
    }
    return shown;
}

class ProgramRead {
  public:
    explicit ProgramRead(OperationContext& context)
        : ctx_(context), progress_(context.prompts), channel_(context.link, &progress_) {
        translation_.language = context.language;
        // A program read leaves the clock where a report read does, so both show the same.
        translation_.unitTimeText = &context.doc.commsCopy().UnitTimeText;
    }

    // Everything the unit holds, for the history, before a write: no lock afterwards (the write
    // goes on in the same session) and no closing message (the engineer asked for the write).
    OperationResult readQuietly() {
        readUnit(readPreset());
        OperationResult result;
        result.status = channel_.cancelled() ? OperationStatus::Cancelled
                        : failed_            ? OperationStatus::Failed
                                             : OperationStatus::Ok;
        return result;
    }

    OperationResult run(const std::optional<Options>& options, bool clockOnly = false) {
        if (options) {
            readUnit(*options);
        }
        OperationResult result;
        result.unitLocked = lockUnit(channel_);
        if (!options || channel_.cancelled()) {
            result.status = OperationStatus::Cancelled;
            return result;
        }
        // A clock read the unit never answered must not say the unit has no clock.
        if (failed_ || (clockOnly && !clockAnswered_)) {
            finish(result, OperationStatus::Failed, kMsgReadFailed, MessageIcon::Error);
        } else if (clockOnly) {
            result.status = OperationStatus::Ok;
            result.closingMessage = kMsgClockRead;
            std::string text = ctx_.text ? ctx_.text(kMsgClockRead) : std::string("%1");
            if (const auto at = text.find("%1"); at != std::string::npos) {
                text.replace(at, 2, readableClock(slotText(ctx_.data.unitTime)));
            }
            ctx_.prompts.messageText(text, MessageIcon::Information);
            result.closingText = std::move(text);
        } else if (commentsCut_) {
            finish(result, OperationStatus::Ok, kMsgReadCommentsCut, MessageIcon::Warning);
        } else {
            finish(result, OperationStatus::Ok, kMsgReadDone, MessageIcon::Information);
        }
        return result;
    }

  private:
    void readUnit(const Options& o) {
        CommsData& data = ctx_.data;
        // The connection unlocked already; asking again costs nothing and covers a unit that
        // locked itself meanwhile. Whether it succeeds shows in the Gets.
        (void)Unlock(data, channel_, [this] { return ctx_.prompts.askPin(); });

        // The clock is read whatever the options, and a unit without one is no failure. A unit
        // that gave no time leaves none: the time an earlier read found is not this unit's now.
        clockAnswered_ = GetUnitTime(data.unitTime, channel_);
        take(COMMS_UNITTIME);
        if (o.bSerialNo) {
            readIdentity();
        }
        if (o.bDescription) {
            get(GetUnitDescription(data.unitDescription, channel_), COMMS_UNITNAME);
        }
        if (o.bPumpCal || o.bPumpData) {
            status(kStatusPumpCalibration);
            get(GetPumpCal(data.calibration, channel_), COMMS_CALIBRATION);
        }
        if (o.bProgNames) {
            status(kStatusProgramNames);
            get(GetProgName(data.progNames, channel_), COMMS_PROGNAME);
        }
        if (o.bPumpData) {
            readSettings();
        }
        if (o.bPumpNames) {
            status(kStatusPumpNames);
            get(GetPumpName(data.pumpNames, channel_), COMMS_PUMPNAME);
        }
        if (o.bComments) {
            status(kStatusComments);
            readComments(o.bAppendComments);
        }
        ctx_.prompts.status({});
        if (ctx_.refreshViews) {
            ctx_.refreshViews(model::DocHint::Opened);
        }
    }

    // A poll, not the unlock's answer: the serial and version the engineer asked for must be the
    // unit's own even when the unlock above went unanswered.
    void readIdentity() {
        IdentityPart polled;
        if (SimplePoll(polled, channel_, kOperationAttempts)) {
            polled.pin = ctx_.data.identity.pin;
            ctx_.data.identity = polled;
            take(COMMS_ACK);
        }
    }

    void readSettings() {
        CommsData& data = ctx_.data;
        status(kStatusProgramData);
        get(GetGlobals(data.globals, channel_), COMMS_GLOBALS);
        get(GetProgdata(data, channel_), COMMS_PROGDATA);
        // Once more after the program data, as a unit may settle its globals while it is read.
        get(GetGlobals(data.globals, channel_), COMMS_GLOBALS);
        if (unitSoftwareAtLeast(channel_, kVersion105)) {
            get(GetResetToConfig(data.resetTo, channel_), COMMS_RESETTO);
        }
        get(GetCustname(data.custName, channel_), COMMS_CUSTNAME);
        get(GetAutoFSConfig(data.autoFs, channel_), COMMS_AUTOFS);
    }

    void readComments(bool keepDocumentComments) {
        CommsData& data = ctx_.data;
        std::string documentText;
        if (keepDocumentComments) {
            GetFromDocumentView(ctx_.doc.config(), data, COMMS_COMMENTS, translation_);
            documentText = commentsText(data.comments);
        }
        if (!GetComments(data.comments, channel_)) {
            failed_ = true;
            return;
        }
        const MergedComments merged = mergeReadComments(documentText, commentsText(data.comments));
        commentsCut_ = merged.truncated;
        data.comments = commentsFromText(merged.text);
        take(COMMS_COMMENTS);
    }

    // A failed Get marks the read failed and skips only its own part of the document.
    void get(bool ok, int option) {
        if (ok) {
            take(option);
        } else {
            failed_ = true;
        }
    }

    // At once after each Get: the next one may reuse the record.
    void take(int option) {
        UpdateDocumentView(ctx_.data, ctx_.doc.config(), option, translation_);
        if (translation_.pumpCount) {
            ctx_.doc.setPumpCount(*translation_.pumpCount);
            translation_.pumpCount.reset();
        }
    }

    // The steps after a unit stopped answering fail without a packet; showing them would say
    // they are being read.
    void status(int textId) {
        if (!channel_.unitStoppedAnswering()) {
            showStatus(ctx_, textId);
        }
    }

    void finish(OperationResult& result, OperationStatus status, int messageId, MessageIcon icon) {
        result.status = status;
        result.closingMessage = messageId;
        ctx_.prompts.message(messageId, icon);
    }

    OperationContext& ctx_;
    PromptProgress progress_;
    UnitChannel channel_;
    TranslationContext translation_;
    bool failed_ = false;
    bool clockAnswered_ = false;
    bool commentsCut_ = false;
};

}  // namespace

OperationResult readForBackup(OperationContext& context) {
    return ProgramRead(context).readQuietly();
}

OperationResult readProgram(OperationContext& context, bool& clockOnly) {
    std::optional<Options> options;
    const bool clock = std::exchange(clockOnly, false);
    if (clock) {
        options = Options{};
    } else {
        options = context.prompts.askOptions(OptionsKind::Read, readPreset());
    }
    return ProgramRead(context).run(options, clock);
}

}  // namespace qelto::comms
