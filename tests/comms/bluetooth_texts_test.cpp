// Which status line each Bluetooth text goes to, and the texts kept for unknown languages.
#include "comms/bluetooth_texts.h"

#include <gtest/gtest.h>

#include <set>

namespace qelto::comms {
namespace {

constexpr auto kFirst = StatusLine::First;
constexpr auto kSecond = StatusLine::Second;

TEST(BluetoothTexts, EachTextGoesToItsLanguagesLine) {
    // English layouts (1, 8 and unknown settings) keep the first line for the scan itself.
    const std::set<int> englishLayout{0, 1, 8, 11};
    // The select text has its own rule: second line also for Spanish, Czech and Polish.
    const std::set<int> selectOnSecond{0, 1, 2, 6, 7, 8, 11};
    for (int language = 0; language <= 11; ++language) {
        SCOPED_TRACE(language);
        const StatusLine others = englishLayout.contains(language) ? kSecond : kFirst;
        EXPECT_EQ(bluetoothStatus(language, BluetoothMessage::NoDongle).line, others);
        EXPECT_EQ(bluetoothStatus(language, BluetoothMessage::NoUnits).line, others);
        EXPECT_EQ(bluetoothStatus(language, BluetoothMessage::Scanning).line, kFirst);
        EXPECT_EQ(bluetoothStatus(language, BluetoothMessage::PairingError).line, kSecond);
        EXPECT_EQ(bluetoothStatus(language, BluetoothMessage::SelectUnit).line,
                  selectOnSecond.contains(language) ? kSecond : kFirst);
    }
}

TEST(BluetoothTexts, UnknownLanguagesAndAmericanEnglishKeepTheirOwnWording) {
    EXPECT_EQ(bluetoothStatus(0, BluetoothMessage::PairingError).text,
              "BT Dongle gave Connect Error");
    EXPECT_EQ(bluetoothStatus(42, BluetoothMessage::NoDongle).text,
              "No BlueTooth USB Dongle found!");
    EXPECT_EQ(bluetoothStatus(1, BluetoothMessage::NoUnits).text, "No Bluetooth units found");
    EXPECT_EQ(bluetoothStatus(8, BluetoothMessage::NoUnits).text, "No Bluetooth units found!");
    // Portuguese has a pairing error of its own, not the unknown-language one.
    EXPECT_EQ(bluetoothStatus(10, BluetoothMessage::PairingError).text,
              "Erro de emparelhamento BlueTooth");
    EXPECT_EQ(pairedStatus("KNW_A1  (M -072)"), "BlueTooth <===> KNW_A1  (M -072)");
}

}  // namespace
}  // namespace qelto::comms
