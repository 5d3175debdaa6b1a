// The frame every qeltoctl command on a unit shares: the PIN settled before anything is opened,
// the link opened and the unit unlocked, the operation run, and the unit locked again.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "cli/cli_context.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_options.h"
#include "comms/operation_driver.h"
#include "comms/unit_session.h"

namespace qelto::cli {

// Checks the link options and settles the PIN: --pin, or typed at the terminal when standard
// input is one. Returns kExitOk, or kExitUsage with the reason already on stderr.
int settleLinkAndPin(const UnitOptions& options, std::uint16_t& pin);

using Operation = comms::UnitOperation;

// The session's settings from the user's settings and the command's --port (empty: SerPort)
// and reply time-out.
comms::SessionSettings sessionSettings(const CliContext& ctx, const std::string& port,
                                       int replyTimeoutMs);

// --comms-log: the session's log in the LogDirectory of the settings (else the working
// directory). False, with the reason on stderr, when that folder does not exist.
bool startCommsLog(const CliContext& ctx, comms::UnitSession& session);

// Opens the link, unlocks the unit, runs the operation on ctx.doc and locks the unit again.
// nullopt, with the reason on stderr, when the operation could not start. A cancelled operation
// (a stop signal while it ran) comes back as such, its unit locked. When the unit stopped
// answering, stderr says at which step. The unit history keeps the operation as recording says.
// With onlySerial, any other unit that answers is locked again untouched.
std::optional<comms::OperationResult> runOnUnit(CliContext& ctx, const UnitOptions& options,
                                                TerminalPrompts& prompts,
                                                const Operation& operation,
                                                const comms::HistoryRecording& recording = {},
                                                std::optional<std::uint32_t> onlySerial = {});

// The exit status and the note for an operation that ended as cancelled or failed before its
// own closing message could say so: 128 + the signal that stopped it, else 1.
int reportCancelled();

}  // namespace qelto::cli
