#include "cli/document_commands.h"

#include <fmt/format.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "cli/cli_context.h"
#include "cli/diff_command.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/show_summary.h"
#include "model/config_json.h"
#include "model/unit_types.h"

namespace qelto::cli {
namespace {

struct ShowOptions {
    std::string file;
    bool json = false;
};

struct NewOptions {
    std::string out;
    int unitType = -1;
};

struct ConvertOptions {
    std::string in;
    std::string out;
};

int runShow(const ShowOptions& options) {
    CliContext ctx;
    std::string tag;
    if (!openDocument(ctx, options.file, &tag)) {
        return kExitFailure;
    }
    if (options.json) {
        nlohmann::ordered_json out;
        out["format"] = tag;
        out["config"] = model::toJson(ctx.config);
        out["dishwash"] = model::toJson(ctx.doc.dishwash());
        std::cout << out.dump() << '\n';
    } else {
        std::cout << showSummary(ctx, options.file, tag);
    }
    std::cout.flush();
    return std::cout ? kExitOk : kExitFailure;
}

int runNew(const NewOptions& options) {
    CliContext ctx;
    if (options.unitType >= 0) {
        // A document made for another model starts from that model's pump names.
        const auto type = static_cast<std::uint8_t>(options.unitType);
        ctx.config.unitType = type;
        ctx.config.legacyConfig[model::lc::kUnitType] = type;
        ctx.config.pumpName = ctx.catalogue.defaultPumpNames(type);
        ctx.doc.setPumpCount(model::unitPumpCount(type));
    }
    return saveDocument(ctx, options.out) ? kExitOk : kExitFailure;
}

int runConvert(const ConvertOptions& options) {
    CliContext ctx;
    if (!openDocument(ctx, options.in, nullptr)) {
        return kExitFailure;
    }
    return saveDocument(ctx, options.out) ? kExitOk : kExitFailure;
}

}  // namespace

void addDocumentCommands(CLI::App& app, int& exitCode) {
    auto show = std::make_shared<ShowOptions>();
    CLI::App* showCmd =
        app.add_subcommand("show", "Show the configuration held in a document file");
    showCmd->add_option("FILE", show->file, "Document file (.qlf or .qcf, any format)")->required();
    showCmd->add_flag("--json", show->json, "Print every field as one JSON object");
    showCmd->callback([show, &exitCode] { exitCode = runShow(*show); });

    auto create = std::make_shared<NewOptions>();
    CLI::App* newCmd = app.add_subcommand("new", "Write a document with a reset configuration");
    newCmd->add_option("OUT", create->out, "Document file to write")->required();
    newCmd->add_option("--unit-type", create->unitType, "Unit type code (0 = L1 ... 9 = L10)")
        ->check(CLI::Range(0, 9));
    newCmd->callback([create, &exitCode] { exitCode = runNew(*create); });

    auto convert = std::make_shared<ConvertOptions>();
    CLI::App* convertCmd = app.add_subcommand(
        "convert", "Open a document of any format and save it in the current one");
    convertCmd->add_option("IN", convert->in, "Document file to read")->required();
    convertCmd->add_option("OUT", convert->out, "Document file to write")->required();
    convertCmd->callback([convert, &exitCode] { exitCode = runConvert(*convert); });

    addDiffCommand(app, exitCode);
}

}  // namespace qelto::cli
