#include "comms/batch_unit_write.h"

#include <fmt/format.h>

#include <cstdint>
#include <memory>

#include "model/unit_types.h"

namespace qelto::comms {
namespace {

char versionCharacter(std::uint8_t byte) {
    return byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?';
}

// The engineer's prompts with the batch's answers in front: a unit of a batch is written with
// the batch's options, never with what was ticked for the last ordinary write.
class BatchWritePrompts final : public OperatorPrompts {
  public:
    BatchWritePrompts(OperatorPrompts& inner, bool verify) : inner_(inner), verify_(verify) {}

    std::optional<std::uint16_t> askPin() override { return inner_.askPin(); }
    std::optional<Options> askOptions(OptionsKind kind, const Options& preset) override {
        if (kind == OptionsKind::Write) {
            return batchWriteOptions();
        }
        return inner_.askOptions(kind, preset);
    }
    std::optional<ReportRequest> askReportOptions() override { return inner_.askReportOptions(); }
    std::optional<int> askCalibrationChoice(const CalibrationComparison& comparison) override {
        return inner_.askCalibrationChoice(comparison);
    }
    bool askYesNo(const Question& question) override {
        if (question.textId == kAskVerifyText) {
            return verify_;
        }
        return inner_.askYesNo(question);
    }
    void status(const std::string& text) override { inner_.status(text); }
    void progressRange(int steps) override { inner_.progressRange(steps); }
    void progressStep() override { inner_.progressStep(); }
    void progressHide() override { inner_.progressHide(); }
    void message(int textId, MessageIcon icon, int captionId) override {
        inner_.message(textId, icon, captionId);
    }
    void messageText(const std::string& text, MessageIcon icon) override {
        inner_.messageText(text, icon);
    }

  private:
    OperatorPrompts& inner_;
    bool verify_;
};

}  // namespace

Options batchWriteOptions() {
    Options options = allOptions();
    options.bAppendComments = false;
    options.bSerialNo = false;
    return options;
}

std::string unitVersionText(const protocol::UnitIdentity& unit) {
    return fmt::format("V{}.{}{}", versionCharacter(unit.version[0]),
                       versionCharacter(unit.version[1]), versionCharacter(unit.version[2]));
}

std::string batchOutcome(const OperationResult& result, bool verify) {
    switch (result.status) {
        case OperationStatus::Cancelled:
            return std::string(kBatchResultCancelled);
        case OperationStatus::Failed:
            return std::string(result.closingMessage == kMsgVerifyMismatch
                                   ? kBatchResultVerifyFailed
                                   : kBatchResultFailed);
        case OperationStatus::Ok:
            break;
    }
    return std::string(verify && !result.verified.value_or(false) ? kBatchResultNotVerified
                                                                  : kBatchResultOk);
}

BatchUnitReport writeBatchUnit(const BatchUnitRequest& request,
                               const platform::SettingsStore& store, const RunBatchOperation& run) {
    BatchUnitReport report;
    protocol::UnitIdentity unit;
    report.result = run([&unit, &request](OperationContext& context) {
        BatchWritePrompts prompts(context.prompts, request.verify);
        OperationContext batchContext{
            context.doc,      context.link,         context.data,  prompts,      context.text,
            context.language, context.refreshViews, context.clock, context.sleep};
        batchContext.resetCounters = request.resetCounters;
        bool clockOnly = false;
        OperationResult written = writeProgram(batchContext, clockOnly);
        // The write's own unlock answered with the unit's identity.
        unit = context.data.identity.unit;
        return written;
    });
    if (!report.result) {
        return report;
    }
    report.unit = unit;
    report.outcome = batchOutcome(*report.result, request.verify);
    const BatchUnitLine line{request.environment.clock(),
                             unit.serial,
                             model::unitModelName(unit.unitTypeIndex),
                             unitVersionText(unit),
                             report.outcome,
                             request.user,
                             localHostName()};
    // Opened again only now: the lock is held for the line and the counter, not for the whole
    // write, so an engineer at the next port is never kept waiting on this unit.
    const auto jobFile = JobFile::open(request.jobFile, &report.error);
    report.recorded =
        jobFile && recordBatchUnit(*jobFile, line, request.job, store, report.progress,
                                   report.countedBefore, &report.error);
    return report;
}

}  // namespace qelto::comms
