#include "legacy/text_dump.h"

#include "legacy/command_frame.h"

namespace qelto::legacy {

std::size_t collectDumpLines(const ByteSource& in, std::vector<std::string>& lines) {
    lines.clear();
    std::string line;
    std::size_t taken = 0;
    std::uint8_t byte = 0;
    while (taken < kMaxDumpBytes && in(byte) && byte != 0) {
        ++taken;
        if (byte == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else if (byte != '\r') {
            line.push_back(static_cast<char>(byte));
        }
    }
    lines.push_back(std::move(line));
    return taken;
}

LegacyOutcome ReadTextDump(LegacyLink& link, std::vector<std::string>& lines) {
    switch (link.SendCmd(kCmdUsageReportFE)) {
        case LegacyResult::Ok:
            break;
        case LegacyResult::PortUnavailable:
            return LegacyOutcome::PortUnavailable;
        default:
            return LegacyOutcome::NoAnswer;
    }
    collectDumpLines([&link](std::uint8_t& byte) { return link.SCI_Rx(byte); }, lines);
    return LegacyOutcome::Done;
}

}  // namespace qelto::legacy
