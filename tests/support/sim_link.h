// A packet link to a qelto-unitsim process started in `dir`: the real serial port code, framing
// and retries, with short waits so that a missing reply costs 300 ms, not 3 s. The test program
// defines QELTO_UNITSIM_PATH.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "logs/comms_log.h"
#include "platform/serial_port.h"
#include "protocol/packet.h"
#include "protocol/packet_link.h"
#include "support/sim_process.h"

namespace qelto::test {

struct SimLink {
    SimProcess sim;
    std::unique_ptr<platform::SerialPort> port;
    protocol::LinkState state;
    std::atomic<bool> abort{false};
    std::unique_ptr<protocol::SerialPacketPath> path;
    std::unique_ptr<protocol::PacketLink> link;

    explicit SimLink(const std::filesystem::path& dir, const std::vector<std::string>& options = {},
                     logs::CommsLog* log = nullptr)
        : sim(dir, QELTO_UNITSIM_PATH, options) {
        using namespace std::chrono_literals;
        std::string error;
        port = platform::SerialPort::open(sim.portPath(), 57600, &error);
        if (!port) {
            throw std::runtime_error(error);
        }
        protocol::SerialTimings timings;
        timings.reply = 300ms;
        timings.byteWrite = 300ms;
        path = std::make_unique<protocol::SerialPacketPath>(*port, state, timings);
        link = std::make_unique<protocol::PacketLink>(*path, log, abort,
                                                      [](std::chrono::milliseconds) {});
    }

    protocol::LinkStatus exchange(const protocol::Packet& request, protocol::Packet& reply,
                                  int attempts = 9) {
        reply = protocol::Packet{};
        return link->WriteReadPacket(request, reply, attempts);
    }
};

}  // namespace qelto::test
