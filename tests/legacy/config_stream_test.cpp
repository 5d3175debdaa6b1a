// The 66-byte configuration stream against a vector worked out by hand from its layout.
#include "legacy/config_stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace qelto::legacy {
namespace {

namespace lc = model::lc;

// Customer lines "HOTEL" and "", old type 7, spare text "SPARE", speed 80, access code 12,
// pulse count 3, reset delay 2:05 (125 s), flush valve 1:30 (90 s), aux time 10:00 (600 s),
// default run 0:45, default delay 1:02, reset delay off, byte 64 = 0x42, PINs 6179, 7159, 7318,
// aux byte 9.
const ConfigStream kGolden{
    'H',  'O',  'T',  'E',  'L',  0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // line 1
    0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // line 2
    0x07,                                                                 // type
    'S',  'P',  'A',  'R',  'E',  0,    0, 0, 0,                          // spare text
    0x50, 0x0C, 0x03,                    // speed, access code, pulse count
    0x00, 0x7D, 0x00, 0x5A, 0x02, 0x58,  // reset delay, flush valve, aux time
    0x00, 0x2D, 0x01, 0x02,              // default run and delay
    0x01, 0x42,                          // reset delay off, byte 64
    0x18, 0x23, 0x1B, 0xF7, 0x1C, 0x96,  // PINs
    0x09};

model::LegacyConfig goldenImage() {
    model::LegacyConfig c{};
    const std::string line = "HOTEL";
    std::copy(line.begin(), line.end(), c.begin());
    c[lc::kUnitType] = 0x07;
    const std::string spare = "SPARE";
    std::copy(spare.begin(), spare.end(), c.begin() + lc::kSpareText);
    c[lc::kPumpSpeed] = 80;
    c[lc::kAccessCode] = 12;
    c[lc::kPulseCount] = 3;
    model::setLegacyTime(c, lc::kResetDelayTime, 2, 5);
    model::setLegacyTime(c, lc::kFlushValveTime, 1, 30);
    model::setLegacyTime(c, lc::kAuxTime, 10, 0);
    model::setLegacyTime(c, lc::kRunTime, 0, 45);
    model::setLegacyTime(c, lc::kDelayTime, 1, 2);
    c[lc::kResetDelayOff] = 1;
    c[lc::kLegacyByte64] = 0x42;
    model::setLegacyPin(c, 0, 6179);
    model::setLegacyPin(c, 1, 7159);
    model::setLegacyPin(c, 2, 7318);
    c[lc::kAuxByte] = 9;
    return c;
}

// Times go out as seconds; their third byte is never sent.
TEST(ConfigStream, EncodesTheImageInWireOrder) {
    model::LegacyConfig c = goldenImage();
    c[lc::kFlushValveTime + 2] = 0x77;
    EXPECT_EQ(encodeConfigStream(c), kGolden);
}

TEST(ConfigStream, DecodingFillsTheImageAndClearsTheThirdBytesOfTheUnitTimes) {
    model::LegacyConfig c{};
    c.fill(0xEE);
    EXPECT_EQ(decodeConfigStream(kGolden, c), kConfigStreamSize);
    model::LegacyConfig expected = goldenImage();
    // Never on the wire: the third bytes of the default times and the last-input flag, and the
    // bytes that came with file format 4.
    for (const std::size_t untouched : {std::size_t{58}, std::size_t{61}, std::size_t{63}}) {
        expected[untouched] = 0xEE;
    }
    for (std::size_t i = lc::kLegacyUnitBytes; i < expected.size(); ++i) {
        expected[i] = 0xEE;
    }
    // The line bytes after the NUL travel too, so they are the unit's zeros.
    EXPECT_EQ(c, expected);
}

TEST(ConfigStream, AStreamCutShortKeepsOnlyTheFieldsThatArrivedWhole) {
    model::LegacyConfig c{};
    const std::vector<std::uint8_t> first48(kGolden.begin(), kGolden.begin() + 48);
    EXPECT_EQ(decodeConfigStream(first48, c), 47U);
    EXPECT_EQ(c[lc::kPulseCount], 3);
    // The reset delay's first byte arrived, its second did not: the time is left alone.
    EXPECT_EQ(c[lc::kResetDelayTime], 0);
    EXPECT_EQ(c[lc::kResetDelayTime + 1], 0);
}

TEST(ConfigStream, ALongerTimeThanTheImageHoldsStaysLongInsteadOfWrapping) {
    ConfigStream stream = kGolden;
    stream[47] = 0xFF;  // reset delay 65535 s
    stream[48] = 0xFF;
    model::LegacyConfig c{};
    decodeConfigStream(stream, c);
    EXPECT_EQ(c[lc::kResetDelayTime], 255);
    EXPECT_EQ(c[lc::kResetDelayTime + 1], 59);
}

}  // namespace
}  // namespace qelto::legacy
