// Whole exchanges of an older unit, scripted from the unit's side: the frames and answers of a
// plain or password command, and the name and comment packets of units of software 1.10.
#pragma once

#include <string>

#include "link_fixture.h"

namespace qelto::legacy::test {

// Frames worked out by hand (CRC-16/ARC of the code and a 0 data byte, high byte first).
inline const Bytes kWriteConfigFrame{0xC8, 0xDD, 0x00, 0x50, 0x59};
inline const Bytes kThirdCommandFrame{0xC8, 0xE7, 0x00, 0xF0, 0x4B};
inline const Bytes kGetNamesFrame{0xC8, 0xCC, 0x00, 0x00, 0x55};
inline const Bytes kSendNamesFrame{0xC8, 0xCE, 0x00, 0x60, 0x54};
inline const Bytes kGetCommentsFrame{0xC8, 0xEA, 0x00, 0x60, 0x4F};

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Sign-on of a unit of old type 3 with the given version characters.
inline void signOn(ScriptedUnit& unit, const Bytes& version) {
    unit.expect(kSignOnFrame).reply({0xE9}).expect({0xE8}).reply(Bytes{0x03} + version);
}

// A plain command: sign-on, frame, acknowledge, the repeated code.
inline void plainCommand(ScriptedUnit& unit, const Bytes& version, const Bytes& frame) {
    signOn(unit, version);
    unit.expect(frame).reply({static_cast<std::uint8_t>(frame[1] + 1)}).expect({frame[1]});
}

// A password command up to the unit's verdict (1 accepts, 0 refuses) on password 1234 (04 D2).
inline void passwordCommand(ScriptedUnit& unit, const Bytes& version, const Bytes& frame,
                            std::uint8_t verdict) {
    plainCommand(unit, version, frame);
    unit.expect({0x04, 0xD2}).reply({verdict});
}

inline Bytes packet(std::uint8_t type, std::uint16_t address, const Bytes& data) {
    return Bytes{type, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                 static_cast<std::uint8_t>(data.size())} +
           data;
}

inline Bytes nameBytes(const std::string& name) {
    Bytes data(128, 0);
    std::copy(name.begin(), name.end(), data.begin());
    return data;
}

}  // namespace qelto::legacy::test
