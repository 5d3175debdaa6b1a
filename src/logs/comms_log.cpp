#include "logs/comms_log.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

#include "platform/c_file.h"
#include "platform/machine_identity.h"

namespace qelto::logs {
namespace {

void printError(const std::string& message) {
    std::fputs(message.c_str(), stderr);
    std::fputc('\n', stderr);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::filesystem::path& path, const char* mode) {
    return File(platform::openCFile(path, mode));
}

// Opened and closed for each line, so that a spreadsheet can read the log between packets.
bool appendText(const std::filesystem::path& path, const std::string& text) {
    const File file = openFile(path, "ab");
    if (!file) {
        return false;
    }
    return std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
}

}  // namespace

CommsLog::CommsLog() : CommsLog(Environment{}) {}

CommsLog::CommsLog(Environment env) : env_(std::move(env)) {
    if (!env_.now) {
        env_.now = [] { return std::time(nullptr); };
    }
    if (!env_.userName) {
        env_.userName = platform::userName;
    }
    if (!env_.hostName) {
        env_.hostName = platform::hostName;
    }
    if (!env_.reportError) {
        env_.reportError = printError;
    }
}

void CommsLog::setEnabled(bool on) {
    enabled_.store(on);
}

bool CommsLog::enabled() const {
    return enabled_.load();
}

int CommsLog::LogPacket(const protocol::Packet& packet, int direction) {
    if (!enabled_.load()) {
        return 0;
    }
    const std::string timestamp = logTimestamp(env_.now());

    if (!openFile(env_.file, "rb")) {
        // "x" creates the file only where none exists, so an existing log that merely cannot be
        // read is never truncated; its lines are then appended (or dropped) as usual.
        File created = openFile(env_.file, "wbx");
        if (created) {
            std::fwrite(kCommsLogHeading.data(), 1, kCommsLogHeading.size(), created.get());
        } else if (errno != EEXIST) {
            env_.reportError("Error creating Comms Log file '" + env_.file.filename().string() +
                             "'.\r\n\nPlease close Excel if Open!!");
            return 0;
        }
    }

    if (eventCounter_ == 0) {
        std::string pc = env_.hostName();
        if (pc.empty()) {
            pc = "**Unknown PC**";
        }
        appendText(env_.file, sysInfoLine(timestamp, env_.userName(), pc));
    }
    ++eventCounter_;
    // A line that cannot be appended (the file held open elsewhere) is dropped without a word.
    appendText(env_.file, packetLine(timestamp, eventCounter_, packet, direction, identity_));
    return 0;
}

}  // namespace qelto::logs
