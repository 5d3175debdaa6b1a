#include "cli/command_help.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"

namespace qelto::cli {
namespace {

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0U : 1U)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<std::string> commandNames(CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::App* sub : command.get_subcommands([](CLI::App*) { return true; })) {
        names.push_back(sub->get_name());
    }
    return names;
}

// The options valid at command: its own and those of the commands above it.
std::vector<std::string> optionNames(const CLI::App* command) {
    std::vector<std::string> names;
    for (; command != nullptr; command = command->get_parent()) {
        for (const CLI::Option* option : command->get_options()) {
            for (const std::string& name : option->get_lnames()) {
                names.push_back("--" + name);
            }
            for (const std::string& name : option->get_snames()) {
                names.push_back("-" + name);
            }
        }
    }
    return names;
}

// The command the parse had reached: "qeltoctl batch write" for `qeltoctl batch write ...`.
CLI::App* reachedCommand(CLI::App& app) {
    CLI::App* at = &app;
    for (;;) {
        const std::vector<CLI::App*> parsed = at->get_subcommands();
        if (parsed.empty()) {
            return at;
        }
        at = parsed.front();
    }
}

std::string fullName(const CLI::App* command) {
    std::string name;
    for (; command != nullptr; command = command->get_parent()) {
        name = name.empty() ? command->get_name() : command->get_name() + " " + name;
    }
    return name;
}

// The first word the parse could not place, from the reached command up to qeltoctl itself.
std::string firstLeftOver(const CLI::App* command) {
    for (; command != nullptr; command = command->get_parent()) {
        const std::vector<std::string> left = command->remaining();
        if (!left.empty()) {
            return left.front();
        }
    }
    return {};
}

void printHint(const CLI::App* command) {
    const std::string name = fullName(command);
    const std::string topic =
        name.find(' ') == std::string::npos ? "" : name.substr(name.find(' '));
    printError(fmt::format("see 'qeltoctl help{}'", topic));
}

}  // namespace

std::string nearestName(std::string_view word, const std::vector<std::string>& names) {
    std::string best;
    std::size_t bestDistance = std::max<std::size_t>(2, word.size() / 3) + 1;
    for (const std::string& name : names) {
        if (word.size() >= 3 && name.starts_with(word)) {
            return name;
        }
        const std::size_t distance = editDistance(word, name);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = name;
        }
    }
    return best;
}

void addHelpCommand(CLI::App& app, int& exitCode) {
    auto topic = std::make_shared<std::vector<std::string>>();
    CLI::App* help = app.add_subcommand("help", "Show the help of qeltoctl or of one command");
    help->add_option("COMMAND", *topic, "The command, e.g. read or batch write");
    help->callback([&app, topic, &exitCode] {
        CLI::App* at = &app;
        for (const std::string& word : *topic) {
            const std::vector<CLI::App*> named =
                at->get_subcommands([&word](CLI::App* sub) { return sub->check_name(word); });
            if (named.empty()) {
                const std::string near = nearestName(word, commandNames(*at));
                printError(
                    fmt::format("'{}' is no command of '{}'{}", word, fullName(at),
                                near.empty() ? "" : fmt::format("; did you mean '{}'?", near)));
                exitCode = kExitUsage;
                return;
            }
            at = named.front();
        }
        // App::help() would describe the command being run, which is help itself.
        std::fputs(
            at->get_formatter()->make_help(at, fullName(at), CLI::AppFormatMode::Normal).c_str(),
            stdout);
        exitCode = kExitOk;
    });
}

int reportUsageError(CLI::App& app, const CLI::ParseError& error) {
    CLI::App* reached = reachedCommand(app);
    const std::string word = firstLeftOver(reached);
    const std::vector<std::string> commands = commandNames(*reached);
    if (word.starts_with('-')) {
        const std::string bare = word.substr(0, word.find('='));
        const std::string near = nearestName(bare, optionNames(reached));
        printError(fmt::format("unknown option '{}' for '{}'{}", bare, fullName(reached),
                               near.empty() ? "" : fmt::format("; did you mean '{}'?", near)));
    } else if (!word.empty() && !commands.empty()) {
        const std::string near = nearestName(word, commands);
        printError(fmt::format("'{}' is no command of '{}'{}", word, fullName(reached),
                               near.empty() ? "" : fmt::format("; did you mean '{}'?", near)));
    } else if (!word.empty()) {
        printError(fmt::format("'{}' was not expected by '{}'", word, fullName(reached)));
    } else {
        printError(error.what());
    }
    printHint(reached);
    return kExitUsage;
}

}  // namespace qelto::cli
