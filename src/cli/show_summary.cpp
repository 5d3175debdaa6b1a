#include "cli/show_summary.h"

#include <fmt/format.h>

#include "model/unit_types.h"
#include "platform/text_encoding.h"

namespace qelto::cli {
namespace {

using platform::latin1ToUtf8;

std::string mmss(const model::MinSec& t) {
    return fmt::format("{}:{:02d}", t.minutes, t.seconds);
}

template <std::size_t N>
std::string text(const model::FixedText<N>& field) {
    return latin1ToUtf8(model::textOf(field));
}

// "1-3,5" for the triggers of a program that have a pump enabled.
std::string usedTriggers(const model::CProgData& c, std::size_t program) {
    std::string out;
    for (std::size_t t = 0; t < model::kTriggers; ++t) {
        bool used = false;
        for (const auto enabled : c.pumpEnabled[program][t]) {
            used = used || enabled != 0;
        }
        if (used) {
            out += fmt::format("{}{}", out.empty() ? "" : ",", t + 1);
        }
    }
    return out;
}

}  // namespace

std::string showSummary(const CliContext& ctx, const std::string& file, const std::string& tag) {
    const model::CProgData& c = ctx.config;
    const auto pumps = model::unitPumpCount(c.unitType);
    std::string out;
    auto line = [&out](std::string_view label, const std::string& value) {
        out += fmt::format("{:<14}{}\n", label, value);
    };
    line("File", fmt::format("{} (format tag \"{}\")", file, tag));
    line("Unit type",
         fmt::format("{} ({}, {} pumps)", c.unitType, model::unitModelName(c.unitType), pumps));
    line("Unit", c.identitySource == model::IdentitySource::None
                     ? std::string("not read from a unit")
                     : fmt::format("serial number {}, software {}", text(c.SerialNoUnit),
                                   text(c.SoftwareVersion)));
    line("Customer", fmt::format("{} / {}", text(c.customerName1), text(c.customerName2)));
    line("Description", text(c.unitDescription));
    line("Access code", fmt::format("{}", c.accessCode));
    line("PINs", fmt::format("{:04d} {:04d} {:04d}", c.pin[0], c.pin[1], c.pin[2]));
    line("Reset delay", fmt::format("{} ({}, from the last {})", mmss(c.resetDelayTime),
                                    c.resetDelayOff != 0 ? "off" : "enabled",
                                    c.resetDelayLastInput != 0 ? "input" : "pump"));
    line("Flush valve", fmt::format("{} ({})", mmss(c.flushValveTime),
                                    c.FlushType != 0 ? "After Only" : "During and After"));
    line("Relay mode", c.relayMode != 0 ? "relay" : "normal");
    line("Auto flush", fmt::format("mode {}, {}, accept {}", c.autofs_mode, mmss(c.autofs_time),
                                   c.autofs_accept_time));
    line("Reset to", fmt::format("option {}, program {}", c.resetOption, c.resetProgChoice));

    out += "\nPump  Name                 Speed  Range  Calibration\n";
    for (std::size_t p = 0; p < pumps && p < model::kPumps; ++p) {
        out += fmt::format("{:>4}  {:<20} {:>4}%  {:>5}  {} ml/min\n", p + 1,
                           latin1ToUtf8(c.pumpName[p]), c.pumpSpeed[p], c.pumpSpeedRange[p],
                           c.pumpCalibration[p]);
    }

    out += "\nProgram  Name                 Triggers in use\n";
    for (std::size_t p = 0; p < model::kPrograms; ++p) {
        const std::string used = usedTriggers(c, p);
        if (!used.empty() || !c.progName[p].empty()) {
            out += fmt::format("{:>7}  {:<20} {}\n", p + 1, latin1ToUtf8(c.progName[p]),
                               used.empty() ? "-" : used);
        }
    }
    if (!c.comments.empty()) {
        out += "\nComments\n" + latin1ToUtf8(c.comments) + "\n";
    }
    return out;
}

}  // namespace qelto::cli
