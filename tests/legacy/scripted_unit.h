// An older unit on the other end of the wire, played from a script: what the program must send
// next, what the unit answers, where it stays silent. Any step out of order is a test failure, so
// a program that reads before it has finished sending, or sends before it has read the answer,
// is caught.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/byte_link.h"

namespace qelto::legacy::test {

using Bytes = std::vector<std::uint8_t>;

class ScriptedUnit {
  public:
    ScriptedUnit& expect(const Bytes& bytes);  // the program must write these next
    ScriptedUnit& reply(const Bytes& bytes);   // the unit sends these
    ScriptedUnit& silence();                   // the next read times out
    ScriptedUnit& brokenRead();                // the next read fails as an unplugged adapter does
    ScriptedUnit& stuckWrite();                // the next byte written does not leave

    bool finished() const { return steps_.empty(); }

    Bytes written;

    platform::IoStatus write(std::span<const std::uint8_t> bytes);
    platform::IoStatus read(std::span<std::uint8_t> out, std::size_t* received);

  private:
    enum class Kind { Expect, Reply, Silence, BrokenRead, StuckWrite };
    struct Step {
        Kind kind;
        std::deque<std::uint8_t> bytes;
    };
    std::deque<Step> steps_;
};

// The port the link under test owns; it forwards to a ScriptedUnit the test keeps.
class ScriptedPort final : public platform::ByteLink {
  public:
    explicit ScriptedPort(ScriptedUnit& unit) : unit_(unit) {}
    platform::IoStatus write(std::span<const std::uint8_t> bytes,
                             std::chrono::milliseconds) override {
        return unit_.write(bytes);
    }
    platform::IoStatus read(std::span<std::uint8_t> out, std::chrono::milliseconds,
                            std::size_t* received = nullptr) override {
        return unit_.read(out, received);
    }
    void purge() override {}
    void cancel() override {}

  private:
    ScriptedUnit& unit_;
};

}  // namespace qelto::legacy::test
