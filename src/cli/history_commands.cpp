#include "cli/history_commands.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/diff_command.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/history_file.h"
#include "cli/history_restore.h"
#include "comms/unit_history_store.h"
#include "platform/user_paths.h"

namespace qelto::cli {
namespace {

using comms::HistoryEntry;
using comms::UnitHistory;

struct ListOptions {
    std::optional<std::uint32_t> serial;
    std::size_t limit = 0;
    bool json = false;
};

struct ShowOptions {
    std::int64_t id = 0;
    std::string out;
    bool json = false;
};

struct DiffOptions {
    std::int64_t id = 0;
    std::optional<std::int64_t> other;
    bool json = false;
};

std::string serialText(std::uint32_t serial) {
    return serial == 0 ? std::string("-") : std::to_string(serial);
}

void printTable(const std::vector<HistoryEntry>& entries) {
    std::vector<std::array<std::string, 6>> rows;
    rows.push_back({"ID", "TIME", "OPERATION", "SERIAL", "RESULT", "USER"});
    for (const HistoryEntry& e : entries) {
        rows.push_back({std::to_string(e.id), e.time, e.operation, serialText(e.serial),
                        std::string(comms::historyResultName(e.result)), e.user});
    }
    std::array<std::size_t, 6> widths{};
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            // The id and serial line up on the right, as numbers do; the user ends the line.
            const bool number = i == 0 || i == 3;
            line += i + 1 == row.size() ? row[i]
                    : number            ? fmt::format("{:>{}}  ", row[i], widths[i])
                                        : fmt::format("{:<{}}  ", row[i], widths[i]);
        }
        std::cout << line << '\n';
    }
}

nlohmann::ordered_json serialJson(std::uint32_t serial) {
    return serial == 0 ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(serial);
}

int runList(const ListOptions& options) {
    const auto history = openHistoryToRead();
    if (!history) {
        return kExitFailure;
    }
    std::string error;
    const std::vector<HistoryEntry> entries =
        history->list({.serial = options.serial, .limit = options.limit}, &error);
    if (!error.empty()) {
        printError(error);
        return kExitFailure;
    }
    if (options.json) {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const HistoryEntry& e : entries) {
            out.push_back({{"id", e.id},
                           {"time", e.time},
                           {"operation", e.operation},
                           {"serial", serialJson(e.serial)},
                           {"result", std::string(comms::historyResultName(e.result))},
                           {"user", e.user}});
        }
        std::cout << out.dump() << '\n';
    } else if (entries.empty()) {
        printNote("the unit history holds no entries" +
                  (options.serial ? fmt::format(" for unit {}", *options.serial) : std::string()));
    } else {
        printTable(entries);
    }
    return kExitOk;
}

// The entry, or the exit status that says why there is none (the reason already on stderr).
struct Found {
    std::optional<HistoryEntry> entry;
    int status = kExitOk;
};

Found findEntry(UnitHistory& history, std::int64_t id, int unreadable) {
    std::string error;
    auto entry = history.entry(id, &error);
    if (!entry) {
        printError(error.empty() ? fmt::format("the unit history has no entry {}", id) : error);
        return {std::nullopt, error.empty() ? kExitNoSuchEntry : unreadable};
    }
    return {std::move(entry), kExitOk};
}

void printEntry(const HistoryEntry& e) {
    const std::string snapshot =
        e.snapshot.empty() ? std::string("none") : fmt::format("{} bytes", e.snapshot.size());
    const std::pair<const char*, std::string> fields[] = {
        {"id", std::to_string(e.id)},
        {"time", e.time},
        {"operation", e.operation},
        {"result", std::string(comms::historyResultName(e.result))},
        {"serial", serialText(e.serial)},
        {"unit type", e.unitType},
        {"unit software", e.unitSoftware},
        {"link", e.link},
        {"user", e.user},
        {"host", e.host},
        {"program version", e.programVersion},
        {"message", e.message},
        {"snapshot", snapshot},
    };
    for (const auto& [name, value] : fields) {
        // A message of several lines stays readable under its label.
        std::string shown = value;
        for (std::size_t at = shown.find('\n'); at != std::string::npos;
             at = shown.find('\n', at + 18)) {
            shown.insert(at + 1, 17, ' ');
        }
        std::cout << fmt::format("{:<17}{}\n", std::string(name) + ":", shown);
    }
}

void printEntryJson(const HistoryEntry& e) {
    const nlohmann::ordered_json out = {
        {"id", e.id},
        {"time", e.time},
        {"operation", e.operation},
        {"result", std::string(comms::historyResultName(e.result))},
        {"serial", serialJson(e.serial)},
        {"unitType", e.unitType},
        {"unitSoftware", e.unitSoftware},
        {"link", e.link},
        {"user", e.user},
        {"host", e.host},
        {"programVersion", e.programVersion},
        {"message", e.message},
        {"snapshotBytes", e.snapshot.size()},
    };
    std::cout << out.dump() << '\n';
}

std::string noSnapshot(const HistoryEntry& e) {
    return fmt::format("entry {} ({}, {}) keeps no configuration", e.id, e.operation,
                       comms::historyResultName(e.result));
}

// Loads a snapshot into doc; false, with the reason on stderr, when it is no document.
bool loadSnapshot(CliContext& ctx, model::CQeltoDoc& doc, const HistoryEntry& e) {
    const model::OpenResult result =
        doc.loadFromBytes(e.snapshot, fmt::format("the configuration of history entry {}", e.id));
    if (!result.ok()) {
        printError(result.detail);
        return false;
    }
    if (result.messageId != 0) {
        printNote(fmt::format("history entry {}: {}", e.id, ctx.text(result.messageId)));
    }
    return true;
}

int runShow(const ShowOptions& options) {
    // Asked before the history is read, so a wrong name costs nothing.
    if (!options.out.empty() && !canSaveDocument(options.out)) {
        return kExitFailure;
    }
    const auto history = openHistoryToRead();
    if (!history) {
        return kExitFailure;
    }
    const Found found = findEntry(*history, options.id, kExitFailure);
    if (!found.entry) {
        return found.status;
    }
    const HistoryEntry& e = *found.entry;
    if (options.json) {
        printEntryJson(e);
    } else {
        printEntry(e);
    }
    if (options.out.empty()) {
        return kExitOk;
    }
    if (e.snapshot.empty()) {
        printError(noSnapshot(e) + " to save");
        return kExitNoSnapshot;
    }
    CliContext ctx;
    if (!loadSnapshot(ctx, ctx.doc, e) || !saveDocument(ctx, options.out)) {
        return kExitFailure;
    }
    return kExitOk;
}

// Entry id with its configuration, or the exit status that says why there is none.
Found snapshotEntry(UnitHistory& history, std::int64_t id) {
    Found found = findEntry(history, id, kExitNotCompared);
    if (found.entry && found.entry->snapshot.empty()) {
        printError(noSnapshot(*found.entry) + " to compare");
        return {std::nullopt, kExitNoSnapshot};
    }
    return found;
}

int runDiff(const DiffOptions& options) {
    const auto history = openHistoryToRead();
    if (!history) {
        return kExitNotCompared;
    }
    Found first = snapshotEntry(*history, options.id);
    if (!first.entry) {
        return first.status;
    }
    Found second;
    if (options.other) {
        second = snapshotEntry(*history, *options.other);
        if (!second.entry) {
            return second.status;
        }
    } else {
        // What this entry changed since the unit's configuration before it.
        std::string error;
        second.entry = history->previousSnapshot(options.id, &error);
        if (!second.entry) {
            printError(!error.empty() ? error
                                      : fmt::format("the unit history keeps no configuration of "
                                                    "unit {} older than entry {}; name a second "
                                                    "entry to compare it with",
                                                    serialText(first.entry->serial), options.id));
            return error.empty() ? kExitNoSnapshot : kExitNotCompared;
        }
        std::swap(first, second);
    }
    const HistoryEntry& a = *first.entry;
    const HistoryEntry& b = *second.entry;
    printNote(fmt::format("comparing entry {} ({}, {}) with entry {} ({}, {})", a.id, a.operation,
                          a.time, b.id, b.operation, b.time));
    CliContext ctx;
    model::CProgData otherConfig;
    model::CQeltoDoc other(otherConfig, ctx.catalogue);
    other.onNewDocument();
    if (!loadSnapshot(ctx, ctx.doc, a) || !loadSnapshot(ctx, other, b)) {
        return kExitNotCompared;
    }
    return printDifferences(ctx.doc, other, options.json);
}

}  // namespace

void addHistoryCommands(CLI::App& app, int& exitCode) {
    auto list = std::make_shared<ListOptions>();
    CLI::App* history = app.add_subcommand(
        "history", "List what Qelto did to the units, newest first, from the unit history");
    history->require_subcommand(0, 1);
    history->add_option("--serial", list->serial, "Only the entries of the unit with this serial")
        ->type_name("N");
    history->add_option("--limit", list->limit, "Only the newest K entries")
        ->type_name("K")
        ->check(CLI::PositiveNumber);
    history->add_flag("--json", list->json,
                      "Print the entries as one JSON array of objects with id, time, operation, "
                      "serial (null when no unit answered), result and user");
    history->footer(
        "The unit history is the file $QELTO_HISTORY, or history.sqlite in "
        "$XDG_DATA_HOME/Halvercott/Qelto (~/.local/share/Halvercott/Qelto). Results are done, "
        "failed, cancelled or differs (a verify that found differences).");
    history->callback([history, list, &exitCode] {
        if (history->get_subcommands().empty()) {
            exitCode = runList(*list);
        }
    });

    auto show = std::make_shared<ShowOptions>();
    CLI::App* showCmd =
        history->add_subcommand("show", "Show one entry of the unit history in full");
    showCmd->add_option("ID", show->id, "The entry's number, as the list shows it")->required();
    showCmd->add_option("-o,--out", show->out,
                        "Also save the configuration the entry keeps as a document file (.qlf)");
    showCmd->add_flag("--json", show->json, "Print the entry as one JSON object");
    showCmd->footer(
        "Exit status 4: no entry has that number; 5: the entry keeps no configuration "
        "to save with --out.");
    showCmd->callback([show, &exitCode] { exitCode = runShow(*show); });

    auto diff = std::make_shared<DiffOptions>();
    CLI::App* diffCmd = history->add_subcommand(
        "diff",
        "List the settings that differ between two configurations of the unit history "
        "(exit 1 if any)");
    diffCmd->add_option("ID", diff->id, "An entry that keeps a configuration")->required();
    diffCmd->add_option("ID2", diff->other,
                        "A second entry; without it, ID is compared with the configuration of "
                        "the same unit kept before it");
    diffCmd->add_flag("--json", diff->json, "Print the differences as one JSON array");
    diffCmd->footer(
        "The output is that of qeltoctl diff, from ID (or the earlier configuration) "
        "to ID2 (or ID). Exit status 0: the same; 1: they differ; 3: the history "
        "could not be read; 4: no entry has that number; 5: an entry keeps no "
        "configuration, or there is none before ID.");
    diffCmd->callback([diff, &exitCode] { exitCode = runDiff(*diff); });

    addHistoryRestore(*history, exitCode);
}

}  // namespace qelto::cli
