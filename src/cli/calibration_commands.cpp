#include "cli/calibration_commands.h"

#include <fmt/format.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/batch_terminal.h"
#include "cli/cli_context.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/interrupt_cancel.h"
#include "cli/unit_run.h"
#include "comms/calibration_session.h"
#include "model/unit_types.h"
#include "platform/console.h"

namespace qelto::cli {
namespace {

using comms::CalibrationPage;
using comms::CalibrationResult;
using comms::CalibrationSession;

// One pump's new value from the command line ("3=120").
struct PumpValue {
    std::size_t pump = 0;  // 0-based
    std::uint32_t value = 0;
};

struct CalibrationOptions {
    UnitOptions unit;
    std::string action;
    bool json = false;
    std::vector<std::string> flows;
    std::vector<std::string> speeds;
    int pump = 0;
    int runWaitMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(comms::kPumpRunLength).count());
    bool yes = false;
    std::string document;  // apply: the document file
    std::string out;       // apply: where to save it; empty: over the document
};

std::optional<PumpValue> parsePumpValue(const std::string& item, const char* what,
                                        std::uint32_t limit) {
    const auto equals = item.find('=');
    try {
        if (equals != std::string::npos) {
            std::size_t used = 0;
            const unsigned long pump = std::stoul(item.substr(0, equals), &used);
            const std::string number = item.substr(equals + 1);
            std::size_t usedValue = 0;
            const unsigned long value = std::stoul(number, &usedValue);
            if (used == equals && usedValue == number.size() && number[0] != '-' && pump >= 1 &&
                pump <= comms::kCalibrationPumps && value <= limit) {
                return PumpValue{pump - 1, static_cast<std::uint32_t>(value)};
            }
        }
    } catch (const std::exception&) {
    }
    printError(
        fmt::format("--{} {}: give PUMP=VALUE with a pump from 1 to 10 and a value from 0 "
                    "to {}",
                    what, item, limit));
    return std::nullopt;
}

// The first pump named that is not among the pumps fitted; a pump that is not there has no
// flow, speed or run to set, and its slot in the unit must stay as it is.
std::optional<std::size_t> pumpNotFitted(const std::vector<PumpValue>& flows,
                                         const std::vector<PumpValue>& speeds,
                                         std::uint32_t pumpCount) {
    for (const std::vector<PumpValue>* values : {&flows, &speeds}) {
        for (const PumpValue& value : *values) {
            if (value.pump >= pumpCount) {
                return value.pump;
            }
        }
    }
    return std::nullopt;
}

std::string notFittedText(std::size_t pump, std::uint32_t pumpCount, const std::string& owner) {
    return fmt::format("pump {}: {} has {} pumps (1 to {})", pump + 1, owner, pumpCount, pumpCount);
}

// The message of a result in the engineer's language; nothing for a cancel.
void report(const CliContext& ctx, const CalibrationResult& result) {
    if (result.cancelled || result.message == 0) {
        return;
    }
    std::string text = ctx.text(result.message);
    if (const auto at = text.find("%1"); at != std::string::npos && result.pump != 0) {
        text.replace(at, 2, std::to_string(result.pump));
    }
    if (result.ok) {
        printMessage(text);
    } else {
        printError(text);
    }
}

int exitFor(const CalibrationResult& result) {
    if (result.cancelled) {
        return reportCancelled();
    }
    return result.ok ? kExitOk : kExitFailure;
}

// Runs work on the unlocked unit; the unit is locked again afterwards.
// The unit history keeps it as historyOperation.
int onUnit(const CalibrationOptions& options, const std::string& historyOperation,
           const std::function<CalibrationResult(CalibrationSession&, CliContext&)>& work) {
    TerminalAnswers answers;
    if (const int code = settleLinkAndPin(options.unit, answers.pin); code != kExitOk) {
        return code;
    }
    CliContext ctx(options.unit.language);
    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    CalibrationResult outcome;
    const auto ran = runOnUnit(
        ctx, options.unit, prompts,
        [&](comms::OperationContext& c) {
            CalibrationSession session(c);
            outcome = work(session, ctx);
            comms::OperationResult result;
            result.status = outcome.cancelled ? comms::OperationStatus::Cancelled
                                              : (outcome.ok ? comms::OperationStatus::Ok
                                                            : comms::OperationStatus::Failed);
            result.closingMessage = outcome.message;  // what the history keeps
            return result;
        },
        {historyOperation});
    if (!ran) {
        return kExitFailure;
    }
    if (ran->status == comms::OperationStatus::Cancelled) {
        return reportCancelled();
    }
    report(ctx, outcome);
    return exitFor(outcome);
}

// Everything given is checked before the unit or the document is touched.
int parseChanges(const CalibrationOptions& options, std::vector<PumpValue>& flows,
                 std::vector<PumpValue>& speeds) {
    for (const std::string& item : options.flows) {
        const auto value = parsePumpValue(item, "flow", comms::kMaxFlow);
        if (!value) {
            return kExitUsage;
        }
        flows.push_back(*value);
    }
    for (const std::string& item : options.speeds) {
        auto value = parsePumpValue(item, "speed", 255);
        if (!value) {
            return kExitUsage;
        }
        value->value = comms::roundSpeed(value->value);
        if (value->value < comms::kMinPumpSpeed || value->value > comms::kMaxPumpSpeed) {
            printError(fmt::format("--speed {}: a speed is 30 to 100 %, in steps of 5", item));
            return kExitUsage;
        }
        speeds.push_back(*value);
    }
    if (flows.empty() && speeds.empty()) {
        printError("give at least one --flow PUMP=ML or --speed PUMP=PERCENT");
        return kExitUsage;
    }
    return kExitOk;
}

// The calibration saved into a document as the editor's calibration sheet saves it: a pump that
// becomes calibrated gets doses for its run times, one that becomes uncalibrated run times.
int applyToDocument(const CalibrationOptions& options, const std::vector<PumpValue>& flows,
                    const std::vector<PumpValue>& speeds) {
    if (options.document.empty()) {
        printError("apply: give the document file");
        return kExitUsage;
    }
    CliContext ctx(options.unit.language);
    const std::string out = options.out.empty() ? options.document : options.out;
    if (!openDocument(ctx, options.document) || !canSaveDocument(out)) {
        return kExitFailure;
    }
    if (const auto pump = pumpNotFitted(flows, speeds, ctx.doc.pumpCount())) {
        printError(notFittedText(*pump, ctx.doc.pumpCount(),
                                 "the document's unit type " +
                                     model::unitModelName(ctx.doc.config().unitType)) +
                   "; the document was left as it was");
        return kExitUsage;
    }
    CalibrationPage page;
    comms::loadFromRecord(page, ctx.doc.config());
    for (const PumpValue& flow : flows) {
        page.calibration[flow.pump] = flow.value;
    }
    for (const PumpValue& speed : speeds) {
        page.speed[speed.pump] = speed.value;
    }
    comms::saveToRecord(page, ctx.doc.config());
    return saveDocument(ctx, out) ? kExitOk : kExitFailure;
}

void printPage(const CalibrationPage& page, bool json) {
    if (json) {
        std::printf("{\"pumpCount\": %u, \"fixedSpeed\": %s, \"pumps\": [", page.pumpCount,
                    page.fixedSpeed ? "true" : "false");
        for (std::size_t i = 0; i < comms::kCalibrationPumps; ++i) {
            std::printf("%s{\"pump\": %zu, \"flow\": %u, \"speed\": %u}", i == 0 ? "" : ", ", i + 1,
                        page.calibration[i], page.speed[i]);
        }
        std::printf("]}\n");
        return;
    }
    std::printf("Pump  Flow (ml/min)  Speed (%%)\n");
    for (std::size_t i = 0; i < comms::kCalibrationPumps; ++i) {
        std::printf("%4zu  %13u  %9u%s\n", i + 1, page.calibration[i], page.speed[i],
                    i < page.pumpCount ? "" : "  (not fitted)");
    }
    if (page.fixedSpeed) {
        std::printf("The pumps of this unit run at fixed full speed.\n");
    }
}

int runCalibration(const CalibrationOptions& options) {
    if (options.action == "get") {
        CalibrationPage page;
        const int code =
            onUnit(options, "calibration-get", [&page](CalibrationSession& s, CliContext&) {
                CalibrationResult result = s.readFromUnit(page);
                result.message = result.ok ? 0 : result.message;  // the table says it
                return result;
            });
        if (code == kExitOk) {
            printPage(page, options.json);
        }
        return code;
    }
    std::vector<PumpValue> flows;
    std::vector<PumpValue> speeds;
    if (const int code = parseChanges(options, flows, speeds); code != kExitOk) {
        return code;
    }
    if (options.action == "apply") {
        return applyToDocument(options, flows, speeds);
    }
    CalibrationPage written;
    bool notFitted = false;
    const int code = onUnit(options, "calibration", [&](CalibrationSession& s, CliContext&) {
        // The unit's own values for every pump not named, so nothing else changes.
        CalibrationResult result = s.readFromUnit(written);
        if (!result.ok) {
            return result;
        }
        if (const auto pump = pumpNotFitted(flows, speeds, written.pumpCount)) {
            printError(notFittedText(*pump, written.pumpCount, "this unit") +
                       "; nothing was written");
            notFitted = true;
            return CalibrationResult{};
        }
        for (const PumpValue& flow : flows) {
            written.calibration[flow.pump] = flow.value;
        }
        for (const PumpValue& speed : speeds) {
            if (!written.speedEditable(speed.pump)) {
                printError(fmt::format("pump {} of this unit has no speed to set", speed.pump + 1));
                CalibrationResult refused;
                return refused;
            }
            written.speed[speed.pump] = speed.value;
        }
        return s.writeToUnit(written);
    });
    if (notFitted) {
        return kExitUsage;
    }
    if (code == kExitOk) {
        printPage(written, false);
    }
    return code;
}

int runPump(const CalibrationOptions& options) {
    bool stopped = false;
    bool notFitted = false;
    const int code = onUnit(options, "pump-run", [&](CalibrationSession& s, CliContext&) {
        CalibrationPage page;
        CalibrationResult result = s.readFromUnit(page);
        if (!result.ok) {
            return result;
        }
        if (static_cast<std::uint32_t>(options.pump) > page.pumpCount) {
            printError(notFittedText(static_cast<std::size_t>(options.pump - 1), page.pumpCount,
                                     "this unit") +
                       "; no pump was run");
            notFitted = true;
            return CalibrationResult{};
        }
        result = s.startRun(page, options.pump);
        if (!result.ok) {
            return result;
        }
        const std::uint32_t speed = page.speed[static_cast<std::size_t>(options.pump - 1)];
        printMessage(fmt::format("pump {} runs for {} seconds at {} %; Ctrl-C stops it",
                                 options.pump, comms::kPumpRunLength.count(), speed));
        // A stop during the run (Ctrl-C, `kill`, `timeout`, a closed session) stops the pump
        // before the unit is locked, instead of cancelling the link and leaving the pump to run
        // its full minute.
        const StopNotes stops;
        stopped =
            comms::waitForPumpRun([&stops] { return stops.noted() != 0; },
                                  [](int tick) {
                                      if (tick % 100 == 0 && !quiet()) {
                                          std::fprintf(stderr, "qeltoctl:   %d s\n", tick / 10);
                                      }
                                  },
                                  std::chrono::milliseconds(options.runWaitMs));
        if (!stopped) {
            printMessage(
                fmt::format("the run is over; the unit has stopped pump {}", options.pump));
            return result;
        }
        result = s.stopRun();
        if (result.ok) {
            printMessage(fmt::format("pump {} stopped early", options.pump));
        }
        return result;
    });
    if (notFitted) {
        return kExitUsage;
    }
    if (code == kExitOk && stopped) {
        return kExitSignalBase + StopNotes::lastNoted();
    }
    return code;
}

// What cannot be undone on the unit is asked for at the terminal, or given with --yes.
bool confirmReset(const CalibrationOptions& options) {
    if (options.yes || options.action == "washes") {
        return true;
    }
    const bool memory = options.action == "memory";
    if (!platform::isTerminal(stdin)) {
        printError(fmt::format("{} needs --yes when standard input is not a terminal",
                               memory ? "erasing the settings memory" : "resetting the counters"));
        return false;
    }
    const auto answer =
        askLineAtTerminal(memory ? "Erase every setting the unit holds? Type yes to go on: "
                                 : "Reset every counter of the unit to zero? Type yes to go on: ",
                          true);
    return answer == "yes";
}

int runReset(const CalibrationOptions& options) {
    if (!confirmReset(options)) {
        return kExitUsage;
    }
    return onUnit(options, "reset", [&options](CalibrationSession& s, CliContext&) {
        if (options.action == "washes") {
            return s.resetWashes();
        }
        if (options.action == "counters") {
            return s.resetCounters();
        }
        return s.eraseSettingsMemory();
    });
}

}  // namespace

void addCalibrationCommands(CLI::App& app, int& exitCode) {
    auto calibration = std::make_shared<CalibrationOptions>();
    CLI::App* cal = app.add_subcommand("calibration",
                                       "Print the unit's pump flows and speeds (get), change some "
                                       "of them (set), or change them in a document (apply)");
    cal->add_option("ACTION", calibration->action, "get or set")
        ->required()
        ->check(CLI::IsMember({"get", "set", "apply"}));
    cal->add_option("DOC", calibration->document, "apply: the document to change");
    cal->add_option("--out", calibration->out, "apply: save here instead of over DOC");
    cal->add_flag("--json", calibration->json, "get: print JSON");
    cal->add_option("--flow", calibration->flows, "set: PUMP=ML_PER_MIN (0: uncalibrated)");
    cal->add_option("--speed", calibration->speeds, "set: PUMP=PERCENT (30-100, steps of 5)");
    addUnitOptions(*cal, calibration->unit, false);
    cal->callback([calibration, &exitCode] { exitCode = runCalibration(*calibration); });

    auto pump = std::make_shared<CalibrationOptions>();
    CLI::App* pumpCmd = app.add_subcommand("pump", "Run one pump for 60 seconds to measure it");
    pumpCmd->add_option("ACTION", pump->action, "run")->required()->check(CLI::IsMember({"run"}));
    pumpCmd->add_option("PUMP", pump->pump, "pump 1-10")->required()->check(CLI::Range(1, 10));
    // Only tests wait less: the unit runs the pump for its full 60 seconds whatever we do.
    pumpCmd->add_option("--run-wait-ms", pump->runWaitMs)->group("")->check(CLI::Range(0, 60000));
    addUnitOptions(*pumpCmd, pump->unit, false);
    pumpCmd->callback([pump, &exitCode] { exitCode = runPump(*pump); });

    auto reset = std::make_shared<CalibrationOptions>();
    CLI::App* resetCmd = app.add_subcommand(
        "reset", "Reset the unit's wash counts or counters, or erase its settings memory");
    resetCmd->add_option("WHAT", reset->action, "washes, counters or memory")
        ->required()
        ->check(CLI::IsMember({"washes", "counters", "memory"}));
    resetCmd->add_flag("--yes", reset->yes, "counters, memory: go on without asking");
    addUnitOptions(*resetCmd, reset->unit, false);
    resetCmd->callback([reset, &exitCode] { exitCode = runReset(*reset); });
}

}  // namespace qelto::cli
