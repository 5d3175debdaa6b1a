// The status texts of the Bluetooth scan and pairing. They predate the numbered catalogs and are
// chosen by the "Language" setting directly, with their own line on the dialog: the scanning
// text always goes to the first status line, pairing results always to the second, and the rest
// depend on the language (English layouts use the second line for them).
#pragma once

#include <string>
#include <string_view>

namespace qelto::comms {

enum class BluetoothMessage { NoDongle, Scanning, NoUnits, SelectUnit, PairingError };

enum class StatusLine { First, Second };

struct BluetoothStatus {
    std::string_view text;  // UTF-8
    StatusLine line;
};

// Any language setting outside 1..10 gets the texts kept for unknown languages.
BluetoothStatus bluetoothStatus(int language, BluetoothMessage message);

// The second status line after a successful pairing with the module of list line `line`.
std::string pairedStatus(std::string_view line);

}  // namespace qelto::comms
