// The communications log: one CSV line per packet built, sent or received, appended to
// "CommsLog.csv" in the working directory while the user has the log switched on.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "logs/comms_log_format.h"
#include "protocol/packet.h"
#include "protocol/packet_tap.h"

namespace qelto::logs {

// The log's file, in the folder the settings keep logs in.
inline constexpr const char* kCommsLogFileName = "CommsLog.csv";

// The directions as the log numbers them; the link reports the same numbers.
enum LogDirection : int {
    kLogNew = 0,        // the PC built a request ("*NEW*")
    kLogSent = 1,       // a request transmission ("P>>>")
    kLogReceived = 2,   // a reply read from the unit ("<<<U")
    kLogSent2 = 3,      // the second link path ("P>2>")
    kLogReceived2 = 4,  // ("<2<U")
};

class CommsLog final : public protocol::PacketTap {
  public:
    struct Environment {
        std::filesystem::path file = kCommsLogFileName;
        std::function<std::time_t()> now;       // local time source (tests fix it)
        std::function<std::string()> userName;  // empty when unknown
        std::function<std::string()> hostName;  // empty when unknown ("**Unknown PC**")
        // Called when the file cannot be created; the text is the message to show the user.
        std::function<void(const std::string&)> reportError;
    };

    CommsLog();
    // Members of env left empty get the real ones: the clock, the login name, the host name and
    // a message on standard error.
    explicit CommsLog(Environment env);

    // The switch may be flipped from any thread; LogPacket itself runs on one thread at a time.
    void setEnabled(bool on);
    bool enabled() const;
    const std::filesystem::path& file() const { return env_.file; }

    // Appends the line(s) for one packet; does nothing while switched off. Returns 0 always.
    int LogPacket(const protocol::Packet& packet, int direction);

    void onPacket(const protocol::Packet& packet, protocol::PacketDirection direction) override {
        LogPacket(packet, static_cast<int>(direction));
    }

  private:
    Environment env_;
    std::atomic<bool> enabled_{false};
    std::uint32_t eventCounter_ = 0;
    IdentityTexts identity_;
};

}  // namespace qelto::logs
