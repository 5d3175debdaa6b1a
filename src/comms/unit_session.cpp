#include "comms/unit_session.h"

#include <fmt/format.h>

#include "comms/bluetooth_modules.h"
#include "comms/legacy_context.h"
#include "logs/comms_log.h"
#include "model/prog_data.h"
#include "platform/serial_port.h"

namespace qelto::comms {

namespace {

// The engineer asked for a write: the read before it shows one status line of its own, not the
// read's, and its progress, and passes on only what it must ask.
class BackupPrompts final : public OperatorPrompts {
  public:
    explicit BackupPrompts(OperatorPrompts& prompts) : prompts_(prompts) {}
    bool askYesNo(const Question& question) override { return prompts_.askYesNo(question); }
    std::optional<std::uint16_t> askPin() override { return prompts_.askPin(); }
    std::optional<Options> askOptions(OptionsKind kind, const Options& preset) override {
        return prompts_.askOptions(kind, preset);
    }
    std::optional<int> askCalibrationChoice(const CalibrationComparison& comparison) override {
        return prompts_.askCalibrationChoice(comparison);
    }
    void status(const std::string&) override {}
    void progressRange(int steps) override { prompts_.progressRange(steps); }
    void progressStep() override { prompts_.progressStep(); }
    void progressHide() override { prompts_.progressHide(); }
    void message(int, MessageIcon, int) override {}

  private:
    OperatorPrompts& prompts_;
};

void replaceFirst(std::string& text, std::string_view placeholder, const std::string& value) {
    if (const auto at = text.find(placeholder); at != std::string::npos) {
        text.replace(at, placeholder.size(), value);
    }
}

}  // namespace

SessionPorts machinePorts() {
    SessionPorts ports;
    ports.openSerial = [](const std::string& port, unsigned baud, std::string* error) {
        return std::unique_ptr<platform::ByteLink>(platform::SerialPort::open(port, baud, error));
    };
    ports.openHid = [](std::string* error) {
        return platform::OpenHidUnit(platform::HidIds{}, error);
    };
    return ports;
}

SessionSettings sessionSettingsFrom(const platform::Settings& settings) {
    SessionSettings session;
    session.serialPort = settings.serPort;
    session.throttleSteps = settings.usbSpeedThrottle;
    session.language = settings.language != 0 ? settings.language : 1;
    return session;
}

std::string stoppedAnsweringText(std::uint32_t serial, const std::string& step) {
    return fmt::format(
        "unit {:09} stopped answering while {}, so the operation stopped there; check the cable "
        "or radio link and that the unit is switched on, then try again",
        serial, step);
}

UnitSession::UnitSession(TextLookup text, SessionPorts ports)
    : text_(std::move(text)), ports_(std::move(ports)) {}

UnitSession::~UnitSession() = default;

void UnitSession::configure(const SessionSettings& settings) {
    if (settings.serialPort != settings_.serialPort) {
        closeLinks();
    }
    settings_ = settings;
}

void UnitSession::closeLinks() {
    scanLinks_ = {};
    bluetooth_.reset();
}

bool UnitSession::startCommsLog(const std::filesystem::path& folder,
                                std::function<void(const std::string&)> reportError,
                                std::string* error) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        if (error != nullptr) {
            *error = fmt::format(
                "cannot write the communications log: the log folder {} does not exist; create "
                "it, or choose another log directory",
                folder.string());
        }
        return false;
    }
    const std::filesystem::path file = folder / logs::kCommsLogFileName;
    if (log_ && commsLogFile() == file) {
        log_->setEnabled(true);
        return true;
    }
    logs::CommsLog::Environment env;
    env.file = file;
    env.reportError = std::move(reportError);
    log_ = std::make_unique<logs::CommsLog>(std::move(env));
    log_->setEnabled(true);
    return true;
}

void UnitSession::stopCommsLog() {
    if (log_) {
        log_->setEnabled(false);
    }
}

bool UnitSession::commsLogOn() const {
    return log_ && log_->enabled();
}

std::filesystem::path UnitSession::commsLogFile() const {
    return log_ ? log_->file() : std::filesystem::path{};
}

void UnitSession::publishPort(platform::ByteLink* port) {
    const std::lock_guard lock(portMutex_);
    activePort_.store(port);
}

void UnitSession::cancel() {
    abort_.store(true);
    const std::lock_guard lock(portMutex_);
    if (platform::ByteLink* port = activePort_.load()) {
        port->cancel();
    }
}

void UnitSession::requestStop() {
    abort_.store(true);
    if (platform::ByteLink* port = activePort_.load()) {
        port->cancel();
    }
}

std::vector<std::string> UnitSession::scan(OperatorPrompts& prompts, ScanScope scope) {
    // The scan opens the port itself; a link kept from before would hold it.
    scanLinks_ = {};
    bluetooth_.reset();
    ScanSetup setup;
    if (scope.serial) {
        setup.openSerial = [this, &prompts]() -> std::unique_ptr<platform::ByteLink> {
            std::string error;
            auto port = ports_.openSerial(settings_.serialPort, kUnitBaud, &error);
            if (!port) {
                prompts.note(error + "; the scan goes on without it");
            }
            publishPort(port.get());
            return port;
        };
    }
    if (scope.usb) {
        setup.openHid = [this] { return ports_.openHid(nullptr); };
    }
    setup.timings.reply = settings_.replyTimeout;
    setup.timings.throttleSteps = settings_.throttleSteps;
    setup.hidReplyTimeout = settings_.replyTimeout;
    setup.tap = log_.get();

    protocol::LinkState state;
    DeviceScanner scanner(table_, setup, state, abort_, prompts, text_);
    std::vector<std::string> lines = scanner.scanAllLinks();
    publishPort(nullptr);
    scanLinks_ = std::move(scanner.links());
    return lines;
}

std::unique_ptr<platform::ByteLink> UnitSession::openBluetoothDongle(std::string* error) {
    auto serial = ports_.openSerial(settings_.serialPort, kUnitBaud, error);
    if (!serial) {
        return nullptr;
    }
    publishPort(serial.get());
    const bool answered = BluetoothDongle(*serial, abort_).detect();
    publishPort(nullptr);
    if (!answered) {
        *error = fmt::format(
            "no Bluetooth dongle answered \"AT\" on {}; check that it is plugged in and that "
            "this is its port",
            settings_.serialPort);
        return nullptr;
    }
    return serial;
}

BluetoothScan UnitSession::scanBluetooth(const std::function<void(std::size_t)>& progress) {
    scanLinks_ = {};
    bluetooth_.reset();
    BluetoothScan found;
    auto serial = openBluetoothDongle(&found.error);
    if (!serial) {
        return found;
    }
    found.dongleFound = true;
    publishPort(serial.get());
    found.lines = parseModuleList(BluetoothDongle(*serial, abort_).discover(progress));
    publishPort(nullptr);
    bluetooth_ = std::move(serial);
    return found;
}

PairResult UnitSession::pairBluetooth(std::size_t line, std::string* error) {
    std::string why;
    if (!bluetooth_ && !(bluetooth_ = openBluetoothDongle(&why))) {
        if (error != nullptr) {
            *error = why;
        }
        return PairResult::NoReply;
    }
    publishPort(bluetooth_.get());
    const PairResult result = BluetoothDongle(*bluetooth_, abort_).pair(line);
    publishPort(nullptr);
    // Paired, the dongle passes bytes through: the unit behind it is reached as a wired one, on
    // a port the next operation opens afresh.
    bluetooth_.reset();
    return result;
}

ScanLinks UnitSession::openLinks(const LinkRequest& request, std::string* error) {
    ScanLinks links;
    if (request.usb) {
        links.hid = ports_.openHid(error);
    } else {
        links.serial = ports_.openSerial(request.port, kUnitBaud, error);
    }
    return links;
}

std::unique_ptr<UnitConnection> UnitSession::open(const UnitChoice& choice, std::string* error) {
    LinkRequest request = choice.link;
    request.replyTimeout = settings_.replyTimeout;
    request.throttleSteps = settings_.throttleSteps;
    std::uint32_t selectedSerial = 0;
    ScanLinks links;
    if (choice.line) {
        const std::size_t found = table_.count();
        if (*choice.line >= found) {
            *error = found == 0 ? fmt::format(
                                      "no unit answered on {} or on USB, so there is no unit {} "
                                      "to choose; check the cable, dongle and port",
                                      settings_.serialPort, *choice.line)
                                : fmt::format(
                                      "the scan found {} unit{} (0 to {}), so there is no unit "
                                      "{}; scan again to see the list",
                                      found, found == 1 ? "" : "s", found - 1, *choice.line);
            return nullptr;
        }
        const DeviceEntry& entry = table_[*choice.line];
        request.port = settings_.serialPort;
        request.usb = isUsbLink(entry.linkType);
        request.rfChannel.reset();
        if (isRadioLink(entry.linkType)) {
            request.rfChannel = entry.rfChannel;
        }
        selectedSerial = entry.serialNo;
        // The link the unit answered the scan on, when it is still open.
        if (request.usb ? scanLinks_.hid != nullptr : scanLinks_.serial != nullptr) {
            links = std::move(scanLinks_);
        }
        scanLinks_ = {};
    }
    if (!links.hid && !links.serial) {
        scanLinks_ = {};  // a scan's port would hold the one about to open
        links = openLinks(request, error);
        if (!links.hid && !links.serial) {
            return nullptr;
        }
    }
    return UnitConnection::connect(std::move(links), request, selectedSerial, log_.get(), abort_,
                                   error);
}

SessionOutcome UnitSession::run(
    const UnitChoice& choice, model::CQeltoDoc& doc, OperatorPrompts& prompts,
    const UnitOperation& operation,
    const std::function<void(const protocol::UnitIdentity&, const std::string&)>& unlocked,
    const HistoryRecording& recording) {
    SessionOutcome outcome;
    std::unique_ptr<UnitConnection> connection = open(choice, &outcome.error);
    if (!connection) {
        outcome.end = abort_.load() ? SessionEnd::Cancelled : SessionEnd::NotOpened;
        return outcome;
    }
    publishPort(connection->serialPort());
    outcome.where = connection->where();

    protocol::CommsData record;  // a fresh record: the PIN is asked on every operation
    switch (connection->unlock(record, prompts, &outcome.error)) {
        case UnlockOutcome::Unlocked: {
            outcome.unit = connection->identity();
            if (unlocked) {
                unlocked(outcome.unit, outcome.where);
            }
            outcome.end = SessionEnd::Ran;
            if (choice.onlySerial && *choice.onlySerial != outcome.unit.serial) {
                outcome.result.status = OperationStatus::Failed;
                outcome.result.closingMessage = kMsgOtherUnitAnswered;
                std::string text = text_ ? text_(kMsgOtherUnitAnswered) : std::string("%1 %2");
                replaceFirst(text, "%1", fmt::format("{:09}", outcome.unit.serial));
                replaceFirst(text, "%2", fmt::format("{:09}", *choice.onlySerial));
                prompts.messageText(text, MessageIcon::Error);
                outcome.error = text;  // for the history: the text as shown
                outcome.lockFailed = !connection->finish(false);
                break;
            }
            OperationContext context{doc,   connection->link(), record, prompts,
                                     text_, settings_.language, {}};
            if (recording.backupFirst && history_ && history_->available()) {
                context.beforeChanges = [&] {
                    return backUpBeforeWrite(*connection, record, prompts, outcome);
                };
            }
            outcome.result = operation(context);
            if (abort_.load()) {
                outcome.result.status = OperationStatus::Cancelled;
            }
            if (const std::string step = connection->unansweredStep(); !step.empty()) {
                outcome.stoppedAnswering = stoppedAnsweringText(outcome.unit.serial, step);
            }
            outcome.lockFailed = !connection->finish(outcome.result.unitLocked);
            break;
        }
        case UnlockOutcome::Cancelled:
            // The unlock may have reached the unit before the cancel: lock to be sure.
            outcome.unit = connection->identity();
            outcome.end = SessionEnd::Cancelled;
            outcome.lockFailed = !connection->finish(false);
            break;
        case UnlockOutcome::PinRefused:
            outcome.unit = connection->identity();
            outcome.end = SessionEnd::PinRefused;
            break;
        case UnlockOutcome::NoUnit:
        case UnlockOutcome::Silent:
            outcome.end = abort_.load() ? SessionEnd::Cancelled : SessionEnd::NotUnlocked;
            break;
    }
    publishPort(nullptr);
    recordOutcome(recording, doc, outcome);
    return outcome;
}

bool UnitSession::backUpBeforeWrite(UnitConnection& connection, const protocol::CommsData& record,
                                    OperatorPrompts& prompts, const SessionOutcome& outcome) {
    model::CProgData config;
    const model::NoPumpNameDefaults noNames;
    model::CQeltoDoc copy(config, noNames);
    copy.onNewDocument();
    protocol::CommsData backupRecord = record;  // the PIN the unlock took, not the write's record
    if (text_) {
        prompts.status(text_(kStatusReadingForHistory));
    }
    BackupPrompts quiet(prompts);
    OperationContext context{
        copy, connection.link(), backupRecord, quiet, text_, settings_.language, {}};
    const OperationResult read = readForBackup(context);
    if (read.status == OperationStatus::Cancelled || abort_.load()) {
        return false;
    }
    const bool readAll = read.status == OperationStatus::Ok;
    HistoryEntry entry = historyEntryFor("backup", outcome.unit, outcome.where,
                                         readAll ? HistoryResult::Done : HistoryResult::Failed,
                                         readAll || !text_ ? std::string{} : text_(kMsgReadFailed));
    if (readAll) {
        entry.snapshot = copy.storeToBytes();
    }
    history_->record(std::move(entry));
    return readAll || prompts.askYesNo(questionOf(text_, kAskWriteWithoutBackup));
}

void UnitSession::recordOutcome(const HistoryRecording& recording, model::CQeltoDoc& doc,
                                const SessionOutcome& outcome, bool olderUnit) {
    // An unavailable history is still told: it says why, once.
    if (!history_ || recording.operation.empty() || (outcome.unit.serial == 0 && !olderUnit)) {
        return;
    }
    HistoryResult result = HistoryResult::Failed;
    std::string message = outcome.error;
    switch (outcome.end) {
        case SessionEnd::Ran:
            result = historyResultOf(outcome.result);
            if (message.empty()) {
                message = outcome.result.closingText;
            }
            if (message.empty() && outcome.result.closingMessage != 0 && text_) {
                message = text_(outcome.result.closingMessage);
            }
            if (!outcome.stoppedAnswering.empty()) {
                message += (message.empty() ? "" : " ") + outcome.stoppedAnswering;
            }
            break;
        case SessionEnd::Cancelled:
            result = HistoryResult::Cancelled;
            break;
        case SessionEnd::PinRefused:
            break;
        case SessionEnd::NotOpened:
        case SessionEnd::NotUnlocked:
            return;  // no unit answered, so there is no unit to keep it for
    }
    HistoryEntry entry = historyEntryFor(recording.operation, outcome.unit, outcome.where, result,
                                         std::move(message));
    using Snapshot = HistoryRecording::Snapshot;
    const bool ran = outcome.end == SessionEnd::Ran &&
                     outcome.result.closingMessage != kMsgWriteRefusedNoBackup &&
                     outcome.result.closingMessage != kMsgOtherUnitAnswered;
    if (ran && (recording.snapshot == Snapshot::Always ||
                (recording.snapshot == Snapshot::WhenDone && result == HistoryResult::Done))) {
        entry.snapshot = doc.storeToBytes();
    }
    history_->record(std::move(entry));
}

SessionOutcome UnitSession::runLegacy(model::CQeltoDoc& doc, OperatorPrompts& prompts,
                                      const LegacyOperation& operation,
                                      std::function<void(model::DocHint)> refreshViews,
                                      const HistoryRecording& recording) {
    SessionOutcome outcome;
    // A scan's port would hold the one about to open.
    closeLinks();
    legacy::LegacyLink link([this](const std::string& name, unsigned baud, std::string* error) {
        return ports_.openSerial(name, baud, error);
    });
    link.setAbortFlag(&abort_);
    link.setPortName(settings_.serialPort);
    outcome.where = settings_.serialPort;
    if (!link.OpenPort(settings_.serialPort, legacy::kLegacyBaud)) {
        outcome.end = abort_.load() ? SessionEnd::Cancelled : SessionEnd::NotOpened;
        outcome.error = link.openError();
        return outcome;
    }
    publishPort(link.port());
    LegacyContext context{doc, link, prompts, text_, std::move(refreshViews)};
    outcome.result = operation(context);
    outcome.end = SessionEnd::Ran;
    if (abort_.load()) {
        outcome.result.status = OperationStatus::Cancelled;
    }
    // Before the port closes: a cancel must not reach for it afterwards.
    publishPort(nullptr);
    recordOutcome(recording, doc, outcome, true);
    return outcome;
}

}  // namespace qelto::comms
