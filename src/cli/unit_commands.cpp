#include "cli/unit_commands.h"

#include <fmt/format.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <system_error>

#include "cli/cli_context.h"
#include "cli/clock_command.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_options.h"
#include "cli/unit_run.h"
#include "comms/differences.h"
#include "comms/operation_driver.h"

namespace qelto::cli {
namespace {

using comms::OperationResult;
using comms::OperationStatus;

struct ReadOptions {
    UnitOptions unit;
    std::string out;
    std::optional<std::string> base;
};

struct WriteOptions {
    UnitOptions unit;
    std::string file;
    bool appendComments = false;
    std::string calibration = "editor";
    bool verify = false;
    bool changeUnitType = false;
    bool noBackup = false;
};

struct VerifyOptions {
    UnitOptions unit;
    std::string file;
    bool json = false;
};

// Everything that needs no unit is settled first, so a usage error never touches a port.
int prepare(const UnitOptions& unit, TerminalAnswers& answers) {
    std::string error;
    const auto options = optionsFromOnly(unit.only, &error);
    if (!options) {
        printError(error);
        return kExitUsage;
    }
    answers.options = *options;
    return settleLinkAndPin(unit, answers.pin);
}

// On standard output, one line each, for scripts and for the engineer alike.
// verify --json: one object a script can read instead of the lines.
void printVerifyJson(const OperationResult& result) {
    nlohmann::ordered_json differences = nlohmann::ordered_json::array();
    for (const comms::Difference& difference : result.differences) {
        nlohmann::ordered_json item;
        item["field"] = difference.field;
        const auto numberOrNull = [](int index) {
            return index < 0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(index);
        };
        item["program"] = numberOrNull(difference.program);
        item["trigger"] = numberOrNull(difference.trigger);
        item["pump"] = numberOrNull(difference.pump);
        item["unit"] = difference.unitValue;
        item["document"] = difference.documentValue;
        differences.push_back(std::move(item));
    }
    nlohmann::ordered_json out;
    const bool compared = result.notCompared.empty() && result.verified.has_value() &&
                          result.status != OperationStatus::Cancelled;
    out["result"] = !compared ? "not compared" : *result.verified ? "matches" : "differs";
    out["notCompared"] = result.notCompared.empty() ? nlohmann::ordered_json(nullptr)
                                                    : nlohmann::ordered_json(result.notCompared);
    out["differences"] = std::move(differences);
    std::printf("%s\n", out.dump().c_str());
    std::fflush(stdout);
}

void printDifferences(const OperationResult& result) {
    for (const comms::Difference& difference : result.differences) {
        std::fputs((comms::describe(difference) + "\n").c_str(), stdout);
    }
    std::fflush(stdout);
}

int runRead(const ReadOptions& options) {
    TerminalAnswers answers;
    if (const int code = prepare(options.unit, answers); code != kExitOk) {
        return code;
    }
    CliContext ctx(options.unit.language);
    if ((options.base && !openDocument(ctx, *options.base)) || !canSaveDocument(options.out)) {
        return kExitFailure;
    }
    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    // "The unit has been read into the document" is only true once the document is saved.
    prompts.holdSuccessMessages();
    const auto result = runOnUnit(ctx, options.unit, prompts,
                                  [](comms::OperationContext& c) {
                                      bool clockOnly = false;
                                      return comms::readProgram(c, clockOnly);
                                  },
                                  {"read", comms::HistoryRecording::Snapshot::WhenDone});
    if (!result) {
        return kExitFailure;
    }
    if (result->status == OperationStatus::Cancelled) {
        return reportCancelled();
    }
    if (result->status != OperationStatus::Ok) {
        printError(fmt::format("nothing was saved to {}", options.out));
        return kExitFailure;
    }
    if (!saveDocument(ctx, options.out)) {
        printError("the unit was read, but what it holds could not be saved");
        return kExitFailure;
    }
    prompts.releaseHeldMessages();
    return kExitOk;
}

int runWrite(const WriteOptions& options) {
    TerminalAnswers answers;
    if (const int code = prepare(options.unit, answers); code != kExitOk) {
        return code;
    }
    answers.options.bAppendComments = options.appendComments;
    answers.calibrationChoice = options.calibration == "unit" ? comms::kChooseUnitCalibration
                                                              : comms::kChooseEditorCalibration;
    answers.verifyAfterWrite = options.verify;
    answers.changeUnitType = options.changeUnitType;
    CliContext ctx(options.unit.language);
    if (!openDocument(ctx, options.file)) {
        return kExitFailure;
    }
    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    const auto result = runOnUnit(ctx, options.unit, prompts,
                                  [](comms::OperationContext& c) {
                                      bool clockOnly = false;
                                      return comms::writeProgram(c, clockOnly);
                                  },
                                  {"write", comms::HistoryRecording::Snapshot::Always,
                                   !options.noBackup && ctx.settings.historyBackup != 0});
    if (!result) {
        return kExitFailure;
    }
    printDifferences(*result);
    if (result->status == OperationStatus::Cancelled) {
        return reportCancelled();
    }
    if (!result->notCompared.empty()) {
        printError(fmt::format(
            "the unit was written, but the {} could not be read back, so the verify could not "
            "compare it; run `qeltoctl verify` to check the unit",
            result->notCompared));
        return kExitFailure;
    }
    if (result->status != OperationStatus::Ok) {
        return kExitFailure;
    }
    if (options.verify && !result->verified) {
        printError("the unit was not verified after the write (see the message above)");
        return kExitFailure;
    }
    return !options.verify || *result->verified ? kExitOk : kExitFailure;
}

// 0 matched, 1 differs, 3 nothing could be compared: a script must never take a unit it could
// not read for one that differs, nor for one that matches.
int runVerify(const VerifyOptions& options) {
    TerminalAnswers answers;
    if (const int code = prepare(options.unit, answers); code != kExitOk) {
        return code;
    }
    CliContext ctx(options.unit.language);
    if (!openDocument(ctx, options.file)) {
        return kExitNotCompared;
    }
    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    const auto result =
        runOnUnit(ctx, options.unit, prompts,
                  [](comms::OperationContext& c) { return comms::verifyProgram(c); }, {"verify"});
    if (!result) {
        return kExitNotCompared;
    }
    if (options.json) {
        printVerifyJson(*result);
    } else {
        printDifferences(*result);
    }
    if (result->status == OperationStatus::Cancelled) {
        return reportCancelled();
    }
    if (!result->notCompared.empty()) {
        printError(fmt::format(
            "the {} could not be read from the unit, so it and what follows it could not be "
            "compared{}",
            result->notCompared,
            result->differences.empty() ? "" : "; the differences listed were found before"));
        return kExitNotCompared;
    }
    if (result->status == OperationStatus::Ok && result->verified == true) {
        return kExitOk;
    }
    return result->verified == false ? kExitFailure : kExitNotCompared;
}

}  // namespace

void addUnitCommands(CLI::App& app, int& exitCode) {
    auto read = std::make_shared<ReadOptions>();
    CLI::App* readCmd = app.add_subcommand("read", "Read a unit into a document file");
    readCmd->add_option("--out", read->out, "Document file to write")->required();
    readCmd->add_option("--base", read->base,
                        "Read into this document instead of a new one (its other settings stay)");
    addUnitOptions(*readCmd, read->unit, true);
    readCmd->callback([read, &exitCode] { exitCode = runRead(*read); });

    auto write = std::make_shared<WriteOptions>();
    CLI::App* writeCmd = app.add_subcommand("write", "Write a document file into a unit");
    writeCmd->add_option("FILE", write->file, "Document file to write from")->required();
    writeCmd->add_flag("--append-comments", write->appendComments,
                       "Keep the unit's comments and append the document's");
    writeCmd
        ->add_option("--calibration", write->calibration,
                     "Which pump calibration to keep when unit and document differ [editor]")
        ->check(CLI::IsMember({"editor", "unit"}));
    writeCmd->add_flag("--verify", write->verify, "Verify the unit against the document after it");
    writeCmd->add_flag("--no-backup", write->noBackup,
                       "Write without first reading the unit into the unit history");
    writeCmd->add_flag("--change-unit-type", write->changeUnitType,
                       "Write a document of another unit type, making the unit that type");
    addUnitOptions(*writeCmd, write->unit, true);
    writeCmd->callback([write, &exitCode] { exitCode = runWrite(*write); });

    auto verify = std::make_shared<VerifyOptions>();
    CLI::App* verifyCmd = app.add_subcommand(
        "verify", "Compare a unit with a document file and print every difference");
    verifyCmd->add_option("FILE", verify->file, "Document file to compare with")->required();
    verifyCmd->add_flag("--json", verify->json,
                        "Print one JSON object: result (matches, differs or not compared), "
                        "notCompared, differences (field, program, trigger, pump, unit, "
                        "document)");
    addUnitOptions(*verifyCmd, verify->unit, true);
    verifyCmd->callback([verify, &exitCode] { exitCode = runVerify(*verify); });

    addClockCommand(app, exitCode);
}

}  // namespace qelto::cli
