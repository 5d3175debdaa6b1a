// The unit session: everything between a front end and a unit, written once for the window and
// for qeltoctl. It finds units (the serial port, a radio dongle's channels, USB, a Bluetooth LE
// dongle), keeps the list and the links of the last scan, opens the unit the engineer chose (a
// line of the list or a link named outright), unlocks it with its PIN, runs one operation, locks
// it again and closes the link; and it owns the one communications log of the process, so every
// packet of every scan and operation lands in one file under one numbering.
//
// The front ends keep only what a person sees and answers: lists, buttons, flags and prompts.
// Everything here blocks; the window calls it from its worker thread. cancel() may come from any
// thread (and requestStop() from a signal handler).
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "comms/bluetooth_dongle.h"
#include "comms/device_scan.h"
#include "comms/device_table.h"
#include "comms/history_recorder.h"
#include "comms/operation_driver.h"
#include "comms/operator_prompts.h"
#include "comms/unit_connection.h"
#include "platform/byte_link.h"
#include "platform/hid_device.h"
#include "platform/settings_store.h"

namespace qelto::logs {
class CommsLog;
}

namespace qelto::comms {

// Who answered the poll before the unlock: serial number, unit type, software version.
using protocol::UnitIdentity;

// How the session reaches this machine's ports; tests hand in pseudo-terminals and fakes.
struct SessionPorts {
    // A serial port at a baud rate (the units' 57600, the older units' 9600); nullptr and the
    // reason in *error when it cannot.
    std::function<std::unique_ptr<platform::ByteLink>(const std::string& port, unsigned baud,
                                                      std::string* error)>
        openSerial;
    // The unit's HID interface (or a USB radio dongle); nullptr and the reason when none is there.
    std::function<std::unique_ptr<platform::HidDevice>(std::string* error)> openHid;
};

// The real serial ports and HID devices.
SessionPorts machinePorts();

// What the settings say about reaching units; the front end hands in the current values before
// it scans or runs (the window may change them at any time).
struct SessionSettings {
    std::string serialPort;  // "SerPort"
    int throttleSteps = 0;   // "USBSpeedThrottle"
    std::chrono::milliseconds replyTimeout{3000};
    int language = 1;  // written into the unit with the globals; 1 when never chosen
};

// The same from the user's settings (the port "SerPort", the throttle, the language).
SessionSettings sessionSettingsFrom(const platform::Settings& settings);

// Which links a scan looks at.
struct ScanScope {
    bool serial = true;
    bool usb = true;
};

// The unit to work on: a line of the last scan, or a link the engineer names (--port, --usb,
// --rf-channel).
struct UnitChoice {
    std::optional<std::size_t> line;
    LinkRequest link;
    // The operation is for this unit only (a restore of its own settings): another unit that
    // answers is locked again untouched.
    std::optional<std::uint32_t> onlySerial;
};

enum class SessionEnd {
    NotOpened,    // the link did not open, or no unit was on the chosen line; see error
    NotUnlocked,  // no unit answered, or it stopped answering during the unlock; see error
    PinRefused,   // the unit refused the PIN; nothing was changed; see error
    Cancelled,    // the engineer cancelled before or during the operation; the unit is locked
    Ran,          // the operation ran; see result
};

struct SessionOutcome {
    SessionEnd end = SessionEnd::NotOpened;
    std::string error;  // a sentence for the engineer, naming the device
    OperationResult result;
    // The operation's own lock and the one more try both went unanswered: the unit may still
    // accept changes, and the engineer must be told.
    bool lockFailed = false;
    protocol::UnitIdentity unit;  // who answered the poll before the unlock
    std::string where;            // "/dev/ttyUSB0", "USB", "/dev/ttyUSB0, RF channel 9"
    // When the unit stopped answering part-way: the step it left unanswered ("reading the
    // program names"), and the sentence that says so.
    std::string stoppedAnswering;
};

// What the Bluetooth scan found.
struct BluetoothScan {
    bool dongleFound = false;
    std::vector<std::string> lines;  // one per module heard, as the dongle lists them (Latin-1)
    std::string error;               // no dongle: why (the port would not open, or no "OK")
};

using UnitOperation = std::function<OperationResult(OperationContext&)>;

// Work on an older unit over the legacy link (see comms/legacy_operations.h).
struct LegacyContext;
using LegacyOperation = std::function<OperationResult(LegacyContext&)>;

class UnitSession {
  public:
    UnitSession(TextLookup text, SessionPorts ports = machinePorts());
    ~UnitSession();
    UnitSession(const UnitSession&) = delete;
    UnitSession& operator=(const UnitSession&) = delete;

    // A different serial port closes the links kept from the last scan.
    void configure(const SessionSettings& settings);
    const SessionSettings& settings() const { return settings_; }

    // The communications log, in the folder the settings keep logs in: one file and one
    // numbering for the whole process. False, with the reason, when the folder does not exist.
    // reportError shows a later failure to create the file (the log keeps trying).
    bool startCommsLog(const std::filesystem::path& folder,
                       std::function<void(const std::string&)> reportError, std::string* error);
    void stopCommsLog();
    bool commsLogOn() const;
    std::filesystem::path commsLogFile() const;

    // The unit history every operation run through the session is recorded in; nullptr (the
    // default) records nothing.
    void useHistory(std::unique_ptr<HistoryRecorder> recorder) { history_ = std::move(recorder); }
    HistoryRecorder* history() const { return history_.get(); }

    // The scan: clears the list and fills it from the serial port (a wired unit, or a radio
    // dongle and the units it hears), then USB. The links stay open for an operation on a unit
    // found through them. Returns the list lines.
    std::vector<std::string> scan(OperatorPrompts& prompts, ScanScope scope = {});
    const DeviceTable& units() const { return table_; }
    // Closes the links the last scan left open (another program may want the port).
    void closeLinks();

    // The Bluetooth LE dongle on the serial port: the modules it hears, then the connection to
    // one of them (a line of the last Bluetooth scan), after which the unit behind it is reached
    // as a wired one. progress is told every byte of the dongle's answer.
    BluetoothScan scanBluetooth(const std::function<void(std::size_t)>& progress = {});
    PairResult pairBluetooth(std::size_t line, std::string* error = nullptr);

    // Opens the chosen unit, unlocks it with the PIN the prompts give, tells unlocked who
    // answered, runs the operation on the document, locks the unit again and closes the link.
    // The unit ends locked whatever happens, a cancel included. The history keeps the operation
    // as recording says; a write's backup read that fails stops it unless the engineer answers
    // yes to writing anyway.
    SessionOutcome run(const UnitChoice& choice, model::CQeltoDoc& doc, OperatorPrompts& prompts,
                       const UnitOperation& operation,
                       const std::function<void(const protocol::UnitIdentity&,
                                                const std::string& where)>& unlocked = {},
                       const HistoryRecording& recording = {});

    // Runs an operation on an older unit on the session's serial port, over the legacy link at
    // 9600 baud. Older units have no PIN and no lock: the operation asks for a password where
    // its command needs one. NotOpened with the reason when the port will not open; Cancelled
    // when cancel() came. The legacy link has no packets, so nothing of it goes into the
    // communications log. refreshViews tells the window the document changed.
    // Older units tell no serial number over this link: the history keeps their entries under 0.
    SessionOutcome runLegacy(model::CQeltoDoc& doc, OperatorPrompts& prompts,
                             const LegacyOperation& operation,
                             std::function<void(model::DocHint)> refreshViews = {},
                             const HistoryRecording& recording = {});

    // Stops the scan or operation under way: from now on only the lock request reaches the
    // unit, and a wait on the port ends at once. Any thread.
    void cancel();
    // The same from a signal handler: only atomics and the port's own signal-safe cancel.
    void requestStop();
    bool cancelled() const { return abort_.load(); }
    // Before the next scan or operation, on the thread that may call cancel().
    void clearCancel() { abort_.store(false); }

  private:
    // The dongle on the serial port, found with "AT"; nullptr with the reason.
    std::unique_ptr<platform::ByteLink> openBluetoothDongle(std::string* error);
    ScanLinks openLinks(const LinkRequest& request, std::string* error);
    std::unique_ptr<UnitConnection> open(const UnitChoice& choice, std::string* error);
    void publishPort(platform::ByteLink* port);
    // The whole unit read and recorded as "backup" before a write changes it; false when the
    // write must not go on (the read failed and the engineer did not say to write anyway, or a
    // cancel came).
    bool backUpBeforeWrite(UnitConnection& connection, const protocol::CommsData& record,
                           OperatorPrompts& prompts, const SessionOutcome& outcome);
    // olderUnit: the entry is kept though no serial number is known.
    void recordOutcome(const HistoryRecording& recording, model::CQeltoDoc& doc,
                       const SessionOutcome& outcome, bool olderUnit = false);

    TextLookup text_;
    SessionPorts ports_;
    SessionSettings settings_;
    std::unique_ptr<logs::CommsLog> log_;
    std::unique_ptr<HistoryRecorder> history_;
    DeviceTable table_;
    ScanLinks scanLinks_;  // the last scan's, until an operation takes them
    std::unique_ptr<platform::ByteLink> bluetooth_;  // the dongle's port, kept for the pairing

    std::atomic<bool> abort_{false};
    // The port a cancel must wake. The mutex keeps it alive while cancel() uses it; a signal
    // handler cannot take it, and only loads the pointer.
    std::mutex portMutex_;
    std::atomic<platform::ByteLink*> activePort_{nullptr};
};

// "unit 123456789 stopped answering while reading the program names, so ...": for the front ends.
std::string stoppedAnsweringText(std::uint32_t serial, const std::string& step);

}  // namespace qelto::comms
