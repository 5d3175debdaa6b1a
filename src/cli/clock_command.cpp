#include "cli/clock_command.h"

#include <array>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "cli/unit_run.h"
#include "comms/unit_clock.h"

namespace qelto::cli {
namespace {

struct ClockOptions {
    UnitOptions unit;
    std::string action;
    bool json = false;
};

std::string formatted(const std::tm& time, const char* format = "%Y-%m-%d %H:%M:%S") {
    std::array<char, 32> text{};
    const std::size_t n = std::strftime(text.data(), text.size(), format, &time);
    return std::string(text.data(), n);
}

// {"time": "2026-12-07T09:30:00", "text": what the unit sent}; time is null when the unit's text
// is no date.
void printTimeJson(const std::string& unitText) {
    const auto time = comms::parseUnitTimeText(unitText);
    nlohmann::ordered_json out;
    out["time"] = time ? nlohmann::ordered_json(formatted(*time, "%Y-%m-%dT%H:%M:%S"))
                       : nlohmann::ordered_json(nullptr);
    out["text"] = unitText;
    std::printf("%s\n", out.dump().c_str());
}

int runClock(const ClockOptions& options) {
    TerminalAnswers answers;
    if (const int code = settleLinkAndPin(options.unit, answers.pin); code != kExitOk) {
        return code;
    }
    CliContext ctx(options.unit.language);
    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    // The driver's closing message speaks of a document; this command says what it did instead.
    prompts.hideSuccessMessages();
    const bool set = options.action == "set";
    std::tm sent{};
    const auto result = runOnUnit(ctx, options.unit, prompts,
                                  [&](comms::OperationContext& c) {
                                      bool clockOnly = true;
                                      if (!set) {
                                          return comms::readProgram(c, clockOnly);
                                      }
                                      c.clock = [&sent] { return sent = comms::realLocalTime(); };
                                      return comms::writeProgram(c, clockOnly);
                                  },
                                  {set ? "clock-set" : "clock-get"});
    if (!result) {
        return kExitFailure;
    }
    if (result->status == comms::OperationStatus::Cancelled) {
        return reportCancelled();
    }
    if (result->status != comms::OperationStatus::Ok) {
        return kExitFailure;
    }
    if (set) {
        printMessage("the unit clock has been set to the PC's time, " + formatted(sent));
        return kExitOk;
    }
    const std::string& text = ctx.doc.commsCopy().UnitTimeText;
    if (text.empty()) {
        printError("the unit reported no time: it has no clock fitted, or it did not answer");
        return kExitFailure;
    }
    if (options.json) {
        printTimeJson(text);
    } else {
        std::printf("%s\n", readableUnitTime(text).c_str());
    }
    return kExitOk;
}

}  // namespace

std::string readableUnitTime(const std::string& unitText) {
    const auto time = comms::parseUnitTimeText(unitText);
    return time ? formatted(*time) : unitText;
}

void addClockCommand(CLI::App& app, int& exitCode) {
    auto clock = std::make_shared<ClockOptions>();
    CLI::App* clockCmd = app.add_subcommand(
        "clock", "Print the unit's clock (get) or set it to the PC's local time (set)");
    clockCmd->add_option("ACTION", clock->action, "get or set")
        ->required()
        ->check(CLI::IsMember({"get", "set"}));
    clockCmd->add_flag("--json", clock->json, "get: print {\"time\": ISO 8601, \"text\": as sent}");
    addUnitOptions(*clockCmd, clock->unit, false);
    clockCmd->callback([clock, &exitCode] { exitCode = runClock(*clock); });
}

}  // namespace qelto::cli
