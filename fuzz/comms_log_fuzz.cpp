// Every packet a unit sends reaches the communications log, whatever its bytes. Logging must
// never fail, and each packet must stay on its own CSV line(s): nothing a unit sends may add a
// line break or split the identity columns.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "logs/comms_log.h"
#include "logs/comms_log_format.h"

namespace {

using qelto::logs::CommsLog;
using qelto::protocol::Packet;

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

bool plain(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == ',' || c == '"') {
            return false;
        }
    }
    return true;
}

void checkLine(const Packet& packet, int direction) {
    qelto::logs::IdentityTexts last;
    const std::string line =
        qelto::logs::packetLine("2024-01-01, 00:00:00", 7, packet, direction, last);
    const std::size_t lineEnds = direction == 0 ? 2 : 1;
    if (count(line, "\r\n") != lineEnds || count(line, "\n") != lineEnds ||
        count(line, "\r") != lineEnds || line.size() < 2 ||
        line.substr(line.size() - 2) != "\r\n") {
        std::abort();
    }
    if (packet.id() == qelto::protocol::PKT_ACK) {
        const auto identity = qelto::logs::identityTextsOf(packet);
        if (!plain(identity.serial) || !plain(identity.software) || !plain(identity.model) ||
            identity.serial.size() < 13 || identity.software.size() != 9) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("qelto-comms-log-fuzz-" + std::to_string(::getpid()) + ".csv");
    if (size == 0) {
        return 0;
    }
    // The first byte picks the direction (signed, so odd codes come up too); each following 32
    // bytes are the packet bytes 1..32 of one packet.
    const int direction = static_cast<std::int8_t>(data[0]);
    CommsLog::Environment env;
    env.file = file;
    env.now = [] { return std::time_t{0}; };
    env.userName = [] { return std::string("fuzz"); };
    env.hostName = [] { return std::string(); };
    env.reportError = [](const std::string&) { std::abort(); };
    CommsLog log(env);
    log.setEnabled(true);

    std::size_t packets = 0;
    for (std::size_t at = 1; at < size; at += qelto::protocol::kPacketSize - 1) {
        Packet packet;
        for (std::size_t i = 1; i < qelto::protocol::kPacketSize && at + i - 1 < size; ++i) {
            packet.bytes[i] = data[at + i - 1];
        }
        checkLine(packet, direction);
        log.LogPacket(packet, direction);
        ++packets;
    }

    std::error_code ignored;
    const auto written = std::filesystem::file_size(file, ignored);
    std::filesystem::remove(file, ignored);
    // Heading and SysInfo, then at least one line per packet.
    if (packets > 0 && written < 60 + 30 * packets) {
        std::abort();
    }
    return 0;
}
