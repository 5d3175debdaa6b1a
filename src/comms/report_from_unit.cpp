#include <string>

#include "comms/driver_support.h"
#include "comms/software_version.h"
#include "comms/unit_report.h"
#include "protocol/translation.h"
#include "protocol/unit_operations.h"
#include "reports/get_report.h"

namespace qelto::comms {
namespace {

using namespace protocol;

inline constexpr int kStatusGlobals = 289;
inline constexpr int kStatusCustomerName = 407;
inline constexpr int kMsgSettingsIncomplete = 360;

// The status lines the usage read shows are fixed texts, not numbered ones.
inline constexpr const char* kStatusSimplePoll = "Simple Poll";
inline constexpr const char* kStatusUnitInformation = "Unit Information...";
inline constexpr const char* kStatusSearchingLog = "SEARCHING unit LOG Please wait...";
inline constexpr const char* kStatusReportData = "Report Data...";

class ReportRead {
  public:
    explicit ReportRead(OperationContext& context)
        : ctx_(context), progress_(context.prompts), channel_(context.link, &progress_) {
        translation_.language = context.language;
        report_.unit.ResetAll(model::NoPumpNameDefaults{});
    }

    ReportOutcome run(const ReportRequest& request) {
        if (request.resultCode == reports::kReadSettings) {
            report_.kind = reports::REP_TYPE_LAUNDRY_SETTINGS;
            readSettings();
        } else {
            report_.kind = reports::REP_TYPE_LAUNDRY_CYCLES;
            report_.options = request.options;
            readUsage(request);
        }
        ctx_.prompts.status({});

        ReportOutcome outcome;
        outcome.result.unitLocked = lockUnit(channel_);
        if (channel_.cancelled()) {
            outcome.result.status = OperationStatus::Cancelled;
            return outcome;
        }
        if (failed_) {
            outcome.result.status = OperationStatus::Failed;
            outcome.result.closingMessage = kMsgSettingsIncomplete;
            ctx_.prompts.message(kMsgSettingsIncomplete, MessageIcon::Error);
            return outcome;
        }
        outcome.report = std::move(report_);
        return outcome;
    }

  private:
    void readSettings() {
        CommsData& data = ctx_.data;
        (void)Unlock(data, channel_, [this] { return ctx_.prompts.askPin(); });
        ctx_.prompts.status(kStatusSimplePoll);
        poll();
        status(kStatusPumpCalibration);
        read([&] { return GetPumpCal(data.calibration, channel_); }, COMMS_CALIBRATION);
        status(kStatusGlobals);
        read([&] { return GetGlobals(data.globals, channel_); }, COMMS_GLOBALS);
        if (!failed_ && unitVersionAtLeast(kVersion105)) {
            read([&] { return GetResetToConfig(data.resetTo, channel_); }, COMMS_RESETTO);
        }
        status(kStatusCustomerName);
        read([&] { return GetCustname(data.custName, channel_); }, COMMS_CUSTNAME);
        status(kStatusProgramData);
        read([&] { return GetProgdata(data, channel_); }, COMMS_PROGDATA);
        status(kStatusPumpNames);
        read([&] { return GetPumpName(data.pumpNames, channel_); }, COMMS_PUMPNAME);
        status(kStatusComments);
        read([&] { return GetComments(data.comments, channel_); }, COMMS_COMMENTS);
        status(kStatusProgramNames);
        read([&] { return GetProgName(data.progNames, channel_); }, COMMS_PROGNAME);
    }

    void readUsage(const ReportRequest& request) {
        CommsData& data = ctx_.data;
        read([&] { return Identify(data.identity, channel_); }, COMMS_ACK);
        ctx_.prompts.status(kStatusUnitInformation);
        read([&] { return GetCustname(data.custName, channel_); }, COMMS_CUSTNAME);
        read([&] { return GetGlobals(data.globals, channel_); }, COMMS_GLOBALS);
        if (!failed_ && unitVersionAtLeast(kVersion130) && GetUnitTime(data.unitTime, channel_)) {
            take(COMMS_UNITTIME);
        }
        if (!failed_ && unitVersionAtLeast(kVersion105)) {
            read([&] { return GetResetToConfig(data.resetTo, channel_); }, COMMS_RESETTO);
        }
        if (read([&] { return GetPumpCal(data.calibration, channel_); }, COMMS_CALIBRATION)) {
            copyCalibration(data.calibration);
        }
        poll();
        status(kStatusComments);
        read([&] { return GetComments(data.comments, channel_); }, COMMS_COMMENTS);
        if (failed_ || channel_.cancelled()) {
            return;
        }
        const bool searching = request.resultCode == reports::kReadDateRange && request.logSearch;
        ctx_.prompts.status(searching ? kStatusSearchingLog : kStatusReportData);
        const auto showWords = [this](std::uint32_t words) {
            ctx_.prompts.status(reports::logSearchStatus(words));
        };
        // A log search adds each pump's doses as volumes or as run times, by its calibration.
        report_.tables.kinds = reports::amountKinds(report_.data.programs[reports::kTotalsRow]);
        if (failed_ || channel_.cancelled() ||
            !reports::GetReport(report_.tables, report_.options, channel_, showWords)) {
            failed_ = true;
            return;
        }
        reports::copyUsage(report_.tables.main, report_.data);

        status(kStatusProgramData);
        report_.data.programPresent = {};
        if (read([&] { return GetProgdata(data, channel_); }, COMMS_PROGDATA)) {
            markProgramsInUse(data.progData);
        }
        status(kStatusProgramNames);
        read([&] { return GetProgName(data.progNames, channel_); }, COMMS_PROGNAME);
    }

    // The flow rates and calibration dates go into every row: each program's page block works
    // out its volumes from them.
    void copyCalibration(const CalibrationPart& calibration) {
        for (auto& record : report_.data.programs) {
            for (std::size_t pump = 0; pump < reports::kUsagePumps; ++pump) {
                const PumpCalEntry& entry = calibration.pumps[pump];
                record.setFlowRate(pump, entry.volume);
                record.setCalibrationDate(pump, {entry.day, entry.month, entry.year});
            }
        }
    }

    void markProgramsInUse(const ProgDataPart& progData) {
        for (std::size_t program = 0; program < kCommsPrograms; ++program) {
            for (const TriggerRecord& trigger : progData.programs[program]) {
                for (const ProgPump& pump : trigger.pumps) {
                    if (pump.enabled != 0) {
                        report_.data.programPresent[program] = 1;
                    }
                }
            }
        }
    }

    void poll() {
        read(
            [&] {
                IdentityPart polled;
                if (!SimplePoll(polled, channel_, kOperationAttempts)) {
                    return false;
                }
                polled.pin = ctx_.data.identity.pin;
                ctx_.data.identity = polled;
                return true;
            },
            COMMS_ACK);
    }

    // Once one read has failed the report is not drawn, so the rest would only keep the
    // engineer waiting on a unit that stopped answering.
    template <typename Get>
    bool read(Get&& get, int option) {
        if (failed_ || channel_.cancelled()) {
            return false;
        }
        if (!get()) {
            failed_ = true;
            return false;
        }
        take(option);
        return true;
    }

    void take(int option) {
        UpdateDocumentView(ctx_.data, report_.unit, option, translation_);
        if (translation_.pumpCount) {
            report_.pumpCount = *translation_.pumpCount;
            translation_.pumpCount.reset();
        }
    }

    // The poll (settings) or the identification (usage) before it has just told the version, so
    // asking the unit again would only cost round trips.
    bool unitVersionAtLeast(const SoftwareVersion& wanted) const {
        return versionAtLeast(ctx_.data.identity.unit.version, wanted);
    }

    void status(int textId) { showStatus(ctx_, textId); }

    OperationContext& ctx_;
    PromptProgress progress_;
    UnitChannel channel_;
    TranslationContext translation_;
    UnitReport report_;
    bool failed_ = false;
};

}  // namespace

ReportOutcome reportFromUnit(OperationContext& context) {
    const std::optional<ReportRequest> request = context.prompts.askReportOptions();
    if (!request) {
        ReportOutcome outcome;
        // Nothing was read: only the lock goes out, as after every operation.
        protocol::UnitChannel channel(context.link);
        outcome.result.unitLocked = protocol::lockUnit(channel);
        outcome.result.status = OperationStatus::Cancelled;
        return outcome;
    }
    return ReportRead(context).run(*request);
}

}  // namespace qelto::comms
