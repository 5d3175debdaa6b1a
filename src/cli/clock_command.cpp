#include "cli/clock_command.h"

#include <array>
#include <cstdio>
#include <memory>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "cli/unit_run.h"
#include "comms/unit_clock.h"

namespace qelto::cli {
namespace {

struct ClockOptions {
    UnitOptions unit;
    std::string action;
};

std::string formatted(const std::tm& time) {
    std::array<char, 32> text{};
    const std::size_t n = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", &time);
    return std::string(text.data(), n);
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
    const auto result = runOnUnit(ctx, options.unit, prompts, [&](comms::OperationContext& c) {
        bool clockOnly = true;
        if (!set) {
            return comms::readProgram(c, clockOnly);
        }
        c.clock = [&sent] { return sent = comms::realLocalTime(); };
        return comms::writeProgram(c, clockOnly);
    });
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
        std::fprintf(stderr, "The unit clock has been set to the PC's time, %s.\n",
                     formatted(sent).c_str());
        return kExitOk;
    }
    const std::string& text = ctx.doc.commsCopy().UnitTimeText;
    if (text.empty()) {
        printError("the unit reported no time: it has no clock fitted, or it did not answer");
        return kExitFailure;
    }
    std::printf("%s\n", readableUnitTime(text).c_str());
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
    addUnitOptions(*clockCmd, clock->unit, false);
    clockCmd->callback([clock, &exitCode] { exitCode = runClock(*clock); });
}

}  // namespace qelto::cli
