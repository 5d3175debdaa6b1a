// A pseudo-terminal pair for the serial port tests: the port opens the slave by its path, the
// test plays the unit on the master.
#pragma once

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qelto::test {

class PtyPair {
  public:
    PtyPair() {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        path_ = ::ttyname(slave_);
    }
    ~PtyPair() {
        closeMaster();
        ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    int slave() const { return slave_; }

    void closeMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

    void send(const std::vector<std::uint8_t>& bytes) const {
        if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            throw std::runtime_error("writing to the pty master failed");
        }
    }

    // What the port sent, up to count bytes or until nothing more comes for 50 ms.
    std::vector<std::uint8_t> receive(std::size_t count) const {
        std::vector<std::uint8_t> bytes;
        pollfd p{master_, POLLIN, 0};
        while (bytes.size() < count && ::poll(&p, 1, 50) == 1) {
            std::uint8_t buf[256];
            const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - bytes.size()));
            if (n <= 0) {
                break;
            }
            bytes.insert(bytes.end(), buf, buf + n);
        }
        return bytes;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace qelto::test
