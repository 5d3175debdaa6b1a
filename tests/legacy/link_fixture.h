// A LegacyLink wired to a scripted unit, with its pauses recorded instead of slept.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "legacy/legacy_link.h"
#include "scripted_unit.h"

namespace qelto::legacy::test {

using namespace std::chrono_literals;

// Frames worked out by hand: CRC-16/ARC of E8 01 is 0xC08F, of D3 00 0x305D, of 7A 00 0x6023.
inline const Bytes kSignOnFrame{0xC8, 0xE8, 0x01, 0xC0, 0x8F};
inline const Bytes kReadConfigFrame{0xC8, 0xD3, 0x00, 0x30, 0x5D};
inline const Bytes kReportSettingsFrame{0xC8, 0x7A, 0x00, 0x60, 0x23};

class LegacyLinkTest : public ::testing::Test {
  protected:
    struct OpenRequest {
        std::string name;
        unsigned baud;
    };

    LegacyLinkTest() { link.setPortName("/dev/ttyLEGACY"); }

    void TearDown() override { EXPECT_TRUE(unit.finished()) << "the unit expected more"; }

    // A unit that signs on with its type (old numbering) and three version characters.
    void scriptInformedSignOn(std::uint8_t oldType, const Bytes& version) {
        unit.expect(kSignOnFrame).reply({0xE9}).expect({0xE8}).reply({oldType});
        unit.reply(version);
    }

    ScriptedUnit unit;
    std::vector<OpenRequest> opens;
    std::vector<std::chrono::milliseconds> pauses;
    std::string refusal;  // when set, the opener fails with this text
    LegacyLink link{[this](const std::string& name, unsigned baud,
                           std::string* error) -> std::unique_ptr<platform::ByteLink> {
                        opens.push_back({name, baud});
                        if (!refusal.empty()) {
                            *error = refusal;
                            return nullptr;
                        }
                        return std::make_unique<ScriptedPort>(unit);
                    },
                    20ms, [this](std::chrono::milliseconds pause) { pauses.push_back(pause); }};
};

}  // namespace qelto::legacy::test
