#include "legacy/text_dump.h"

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

void receiveTextDump(LegacyLink& link, std::vector<std::string>& lines) {
    collectDumpLines([&link](std::uint8_t& byte) { return link.SCI_Rx(byte); }, lines);
}

}  // namespace qelto::legacy
