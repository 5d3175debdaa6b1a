// The simulator's end of a pseudo-terminal. The simulator keeps a descriptor of the client side
// open itself, so a client can close the port and open it again between operations without the
// master side reporting a hang-up.
#pragma once

#include <string>

namespace qelto::sim {

class PseudoTerminal {
  public:
    // Opens a new pty with a raw line discipline; on failure returns an object that is not
    // open() and fills error.
    static PseudoTerminal create(std::string& error);

    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    bool isOpen() const { return master_ >= 0; }
    int master() const { return master_; }  // non-blocking
    const std::string& clientPath() const { return clientPath_; }

  private:
    PseudoTerminal() = default;

    int master_ = -1;
    int heldClient_ = -1;
    std::string clientPath_;
};

}  // namespace qelto::sim
