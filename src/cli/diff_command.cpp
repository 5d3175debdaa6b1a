#include "cli/diff_command.h"

#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "model/config_diff.h"

namespace qelto::cli {
namespace {

struct DiffOptions {
    std::string a;
    std::string b;
    bool json = false;
};

bool open(CliContext& ctx, model::CQeltoDoc& doc, const std::string& file) {
    const model::OpenResult result = doc.onOpenDocument(file);
    if (!result.ok()) {
        printError(fmt::format("cannot compare: {}", result.detail));
        return false;
    }
    if (result.messageId != 0) {
        printNote(fmt::format("{}: {}", file, ctx.text(result.messageId)));
    }
    return true;
}

// Texts are quoted and escaped so that an empty name, trailing blanks or a line break in the
// comments stay visible and every difference stays on one line.
std::string shown(const model::ConfigDifference& d, const std::string& value) {
    return d.isText ? nlohmann::json(value).dump() : value;
}

void printLines(const std::vector<model::ConfigDifference>& differences) {
    for (const auto& d : differences) {
        std::cout << model::fieldPath(d) << ": " << shown(d, d.a) << " -> " << shown(d, d.b)
                  << '\n';
    }
}

void printJson(const std::vector<model::ConfigDifference>& differences) {
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const auto& d : differences) {
        nlohmann::ordered_json item;
        item["field"] = d.field;
        const auto put = [&item](const char* key, const auto& position) {
            if (position) {
                item[key] = *position;
            }
        };
        put("program", d.program);
        put("trigger", d.trigger);
        put("pump", d.pump);
        put("pin", d.pin);
        put("offset", d.offset);
        item["a"] = d.a;
        item["b"] = d.b;
        out.push_back(std::move(item));
    }
    std::cout << out.dump() << '\n';
}

int runDiff(const DiffOptions& options) {
    CliContext ctx;
    model::CProgData otherConfig;
    model::CQeltoDoc other(otherConfig, ctx.catalogue);
    other.onNewDocument();
    if (!open(ctx, ctx.doc, options.a) || !open(ctx, other, options.b)) {
        return kExitNotCompared;
    }
    return printDifferences(ctx.doc, other, options.json);
}

}  // namespace

int printDifferences(const model::CQeltoDoc& a, const model::CQeltoDoc& b, bool json) {
    std::vector<model::ConfigDifference> differences;
    if (auto family = model::diffUnitFamily(a, b)) {
        differences.push_back(std::move(*family));
    }
    for (auto& d : model::diffConfigs(a.config(), b.config())) {
        differences.push_back(std::move(d));
    }
    // Whether the list reached standard output is checked as the program ends.
    if (json) {
        printJson(differences);
    } else {
        printLines(differences);
    }
    return differences.empty() ? kExitOk : kExitFailure;
}

void addDiffCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<DiffOptions>();
    CLI::App* cmd = app.add_subcommand(
        "diff", "List the settings that differ between two document files (exit 1 if any)");
    cmd->add_option("A", options->a, "First document file (.qlf or .qcf, any format)")->required();
    cmd->add_option("B", options->b, "Second document file")->required();
    cmd->add_flag("--json", options->json, "Print the differences as one JSON array");
    cmd->footer(
        "Each line reads FIELD: VALUE-IN-A -> VALUE-IN-B. Programs, triggers, pumps and PINs are "
        "numbered from 1; legacyConfig@N is byte N of the legacy configuration image; unitFamily "
        "says whether a document is for a dishwash or a laundry unit. Dishwash settings are not "
        "compared.");
    cmd->callback([options, &exitCode] { exitCode = runDiff(*options); });
}

}  // namespace qelto::cli
