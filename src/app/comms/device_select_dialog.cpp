#include "app/comms/device_select_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/comms/comms_texts.h"
#include "app/comms/device_registry.h"
#include "app/shell/shell_context.h"
#include "app/shell/shell_texts.h"
#include "comms/bluetooth_modules.h"
#include "comms/unit_connection.h"
#include "logs/comms_log.h"
#include "model/unit_types.h"
#include "platform/serial_port.h"

namespace qelto::app {
namespace {

// The link to a unit the scan found, when the scan's own links are no longer open.
comms::LinkRequest linkRequestFor(const comms::DeviceEntry& entry, const platform::Settings& s) {
    comms::LinkRequest request;
    request.port = s.serPort;
    request.usb = comms::isUsbLink(entry.linkType);
    if (comms::isRadioLink(entry.linkType)) {
        request.rfChannel = entry.rfChannel;
    }
    request.throttleSteps = s.usbSpeedThrottle;
    return request;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

DeviceSelectDialog::DeviceSelectDialog(ShellContext& context, DeviceRegistry& devices,
                                       CommsAnswers& answers, DeviceDialogSetup setup,
                                       QWidget* parent)
    : QDialog(parent),
      context_(context),
      devices_(devices),
      answers_(answers),
      setup_(std::move(setup)),
      prompts_(context.language, answers, this, *this, setup_.reportOptions),
      worker_(this) {
    using namespace commstext;
    setObjectName(QStringLiteral("deviceSelectDialog"));
    setWindowTitle(context_.text(kTextDialogTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(context_.text(kTextUnitsFound), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("deviceList"));
    list_->setMinimumSize(520, 180);
    layout->addWidget(list_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status2_ = new QLabel(this);
    status2_->setObjectName(QStringLiteral("secondStatus"));
    for (QLabel* line : {status_, status2_}) {
        line->setWordWrap(true);
        line->setMinimumHeight(line->fontMetrics().height() + 4);
        layout->addWidget(line);
    }
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setTextVisible(false);
    // The dialog keeps its height whether the bar shows or not.
    QSizePolicy keep = progress_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keep);
    progress_->hide();
    layout->addWidget(progress_);

    auto* row = new QHBoxLayout;
    scan_ = button(context_.text(kTextScan), "scanButton", this);
    bluetooth_ = button(context_.text(kTextBluetoothScan), "bluetoothButton", this);
    row->addWidget(scan_);
    row->addWidget(bluetooth_);
    row->addStretch();
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = box->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("okButton"));
    cancel_ = box->button(QDialogButtonBox::Cancel);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    row->addWidget(box);
    layout->addLayout(row);

    connect(scan_, &QPushButton::clicked, this, &DeviceSelectDialog::OnSDevicescan);
    connect(bluetooth_, &QPushButton::clicked, this, &DeviceSelectDialog::scanBluetooth);
    connect(ok_, &QPushButton::clicked, this, &DeviceSelectDialog::OnDevselectok);
    connect(cancel_, &QPushButton::clicked, this, &DeviceSelectDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, &DeviceSelectDialog::selectionChanged);
    // A double click does nothing: OK is a deliberate second step.
    updateOk();
}

DeviceSelectDialog::~DeviceSelectDialog() {
    abort_ = true;
    prompts_.abandon();
    {
        const std::lock_guard lock(connectionMutex_);
        if (connection_ != nullptr) {
            connection_->abortFlag() = true;
        }
    }
    // worker_ is destroyed first of the members and waits for the work.
}

int DeviceSelectDialog::language() const {
    return context_.settings.language != 0 ? context_.settings.language : 1;
}

comms::TextLookup DeviceSelectDialog::textLookup() const {
    const platform::LanguageCatalog* texts = &context_.language;
    return [texts](int id) { return texts->text(id); };
}

void DeviceSelectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    abort_ = false;
    showStatus(context_.text(comms::kStatusUnitsListed));
    refillList();
    // A list that takes the focus first makes its first line current, which would choose a
    // unit the engineer never picked.
    scan_->setFocus();
}

void DeviceSelectDialog::showStatus(const QString& text) {
    status_->setText(text);
}

void DeviceSelectDialog::showProgressRange(int steps) {
    progress_->setRange(0, steps);
    progress_->setValue(0);
    progress_->show();
}

void DeviceSelectDialog::stepProgress() {
    if (progress_->value() < progress_->maximum()) {
        progress_->setValue(progress_->value() + 1);
    }
}

void DeviceSelectDialog::hideProgress() {
    progress_->hide();
}

void DeviceSelectDialog::refillList() {
    const QSignalBlocker quiet(list_);
    bluetoothListMode_ = false;
    list_->clear();
    showStatus(QString());
    for (const std::string& line : devices_.table().listLines()) {
        list_->addItem(QString::fromStdString(line));
    }
    showStatus(
        context_.text(list_->count() > 0 ? comms::kStatusUnitsListed : comms::kStatusNoUnitFound));
    updateOk();
}

void DeviceSelectDialog::setBusy(bool busy) {
    busy_ = busy;
    scan_->setEnabled(!busy);
    bluetooth_->setEnabled(!busy);
    list_->setEnabled(!busy);
    updateOk();
}

void DeviceSelectDialog::updateOk() {
    const bool selected = !bluetoothListMode_ && list_->currentRow() >= 0;
    // Pump calibration also runs on the document alone, without a unit.
    ok_->setEnabled(!busy_ &&
                    (selected || okAfterPairing_ || setup_.operation == kOpPumpCalibration));
}

void DeviceSelectDialog::selectionChanged(int row) {
    if (row < 0 || busy_) {
        updateOk();
        return;
    }
    if (bluetoothListMode_) {
        pairBluetooth(row);
        return;
    }
    showStatus(list_->item(row)->text());
    updateOk();
}

void DeviceSelectDialog::showBluetooth(comms::BluetoothMessage message) {
    const comms::BluetoothStatus shown = comms::bluetoothStatus(language(), message);
    const QString text =
        QString::fromUtf8(shown.text.data(), static_cast<qsizetype>(shown.text.size()));
    (shown.line == comms::StatusLine::First ? status_ : status2_)->setText(text);
}

void DeviceSelectDialog::OnSDevicescan() {
    if (worker_.busy()) {
        return;
    }
    abort_ = false;
    // The scan opens the port itself; a link kept from before would hold it.
    devices_.closeLinks();
    bluetoothListMode_ = false;
    okAfterPairing_ = false;
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
    }
    setBusy(true);
    comms::ScanSetup scanSetup;
    const std::string port = context_.settings.serPort;
    scanSetup.openSerial = [port]() -> std::unique_ptr<platform::ByteLink> {
        return platform::SerialPort::open(port, comms::kUnitBaud);
    };
    scanSetup.openHid = [] { return platform::OpenHidUnit(platform::HidIds{}); };
    scanSetup.timings.throttleSteps = context_.settings.usbSpeedThrottle;
    scanSetup.log = log_.get();
    worker_.start(
        [this, scanSetup = std::move(scanSetup)] {
            protocol::LinkState state;
            comms::DeviceScanner scanner(devices_.table(), scanSetup, state, abort_, prompts_,
                                         textLookup());
            scanner.OnSDevicescan();
            scanLinks_ = std::move(scanner.links());
        },
        [this] {
            devices_.keepLinks(std::move(scanLinks_));
            scanLinks_ = {};
            hideProgress();
            setBusy(false);
            refillList();
            Q_EMIT workFinished();
            if (cancelRequested_) {
                endCancelled();
            }
        });
}

void DeviceSelectDialog::scanBluetooth() {
    if (worker_.busy()) {
        return;
    }
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
    }
    devices_.closeLinks();
    bluetoothListMode_ = false;
    abort_ = false;
    status2_->clear();
    setBusy(true);
    const std::string port = context_.settings.serPort;
    worker_.start(
        [this, port] {
            bluetoothFound_ = false;
            bluetoothLines_.clear();
            auto serial = platform::SerialPort::open(port, comms::kUnitBaud);
            if (!serial) {
                return;
            }
            comms::BluetoothDongle dongle(*serial, abort_);
            if (!dongle.detect()) {
                return;
            }
            bluetoothFound_ = true;
            QMetaObject::invokeMethod(
                this, [this] { showBluetooth(comms::BluetoothMessage::Scanning); },
                Qt::QueuedConnection);
            prompts_.progressRange(static_cast<int>(comms::kDiscoveryLimit));
            const auto received = dongle.discover([this](std::size_t) { prompts_.progressStep(); });
            prompts_.progressHide();
            bluetoothLines_ = comms::parseModuleList(received);
            devices_.bluetoothPort() = std::move(serial);
        },
        [this] {
            hideProgress();
            setBusy(false);
            if (!bluetoothFound_) {
                showBluetooth(comms::BluetoothMessage::NoDongle);
            } else if (bluetoothLines_.empty()) {
                showBluetooth(comms::BluetoothMessage::NoUnits);
            } else {
                const QSignalBlocker quiet(list_);
                for (const std::string& line : bluetoothLines_) {
                    list_->addItem(
                        QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
                }
                list_->setCurrentRow(-1);
                bluetoothListMode_ = true;
                showBluetooth(comms::BluetoothMessage::SelectUnit);
            }
            updateOk();
            Q_EMIT workFinished();
            if (cancelRequested_) {
                endCancelled();
            }
        });
}

void DeviceSelectDialog::pairBluetooth(int row) {
    if (!devices_.bluetoothPort()) {
        return;
    }
    const QString line = list_->item(row)->text();
    setBusy(true);
    abort_ = false;
    worker_.start(
        [this, row] {
            comms::BluetoothDongle dongle(*devices_.bluetoothPort(), abort_);
            pairResult_ = dongle.pair(static_cast<std::size_t>(row));
        },
        [this, line] {
            if (pairResult_ == comms::PairResult::Paired) {
                bluetoothListMode_ = false;
                status2_->setText(
                    QString::fromStdString(comms::pairedStatus(line.toLatin1().toStdString())));
                const QSignalBlocker quiet(list_);
                list_->clear();
                status_->setText(QStringLiteral(" "));
            } else {
                showBluetooth(comms::BluetoothMessage::PairingError);
            }
            okAfterPairing_ = true;
            setBusy(false);
            Q_EMIT workFinished();
            if (cancelRequested_) {
                endCancelled();
            }
        });
}

void DeviceSelectDialog::OnDevselectok() {
    if (worker_.busy()) {
        return;
    }
    const int row = bluetoothListMode_ ? -1 : list_->currentRow();
    const bool listed = row >= 0 && static_cast<std::size_t>(row) < devices_.table().count();
    if (setup_.operation == kOpFindUnits) {
        QDialog::accept();
        return;
    }
    if (!listed) {
        if (setup_.operation == kOpPumpCalibration) {
            withoutUnit_ = true;
            QDialog::accept();
            return;
        }
        answers_.message(this, context_.text(commstext::kMsgChooseUnit),
                         comms::MessageIcon::Warning, QStringLiteral("Qelto"));
        return;
    }
    if (context_.commsLog && !log_) {
        const std::filesystem::path dir =
            context_.settings.logDirectory.empty()
                ? std::filesystem::current_path()
                : std::filesystem::path(context_.settings.logDirectory);
        std::error_code ec;
        if (std::filesystem::is_directory(dir, ec)) {
            logs::CommsLog::Environment env;
            env.file = dir / "CommsLog.csv";
            env.reportError = [this](const std::string& text) {
                prompts_.messageText(text, comms::MessageIcon::Error);
            };
            log_ = std::make_unique<logs::CommsLog>(std::move(env));
            log_->setEnabled(true);
        } else {
            answers_.message(this,
                             context_.text(commstext::kMsgCommsLogFolder)
                                 .arg(QString::fromStdString(dir.string())),
                             comms::MessageIcon::Warning, QStringLiteral("Qelto"));
        }
    }
    const comms::DeviceEntry entry = devices_.table()[static_cast<std::size_t>(row)];
    auto links = devices_.takeLinks();
    abort_ = false;
    cancelRequested_ = false;
    prompts_.resume();
    outcome_ = {};
    setBusy(true);
    worker_.start([this, entry, links] { runOperation(entry, links); },
                  [this] { operationDone(); });
}

void DeviceSelectDialog::attachConnection(comms::UnitConnection* connection) {
    const std::lock_guard lock(connectionMutex_);
    connection_ = connection;
    if (connection != nullptr && cancelRequested_) {
        connection->abortFlag() = true;
    }
}

void DeviceSelectDialog::runOperation(const comms::DeviceEntry& entry,
                                      std::shared_ptr<comms::ScanLinks> links) {
    const comms::LinkRequest request = linkRequestFor(entry, context_.settings);
    std::string error;
    std::unique_ptr<comms::UnitConnection> connection =
        links ? comms::UnitConnection::openScanned(entry, std::move(*links), request, log_.get(),
                                                   &error)
              : comms::UnitConnection::open(request, log_.get(), &error);
    links.reset();
    if (!connection) {
        outcome_.error = error;
        return;
    }
    attachConnection(connection.get());
    protocol::CommsData record;  // a fresh record: the PIN is asked on every operation
    switch (connection->unlock(record, prompts_, &error)) {
        case comms::UnlockOutcome::Unlocked: {
            identity_ = connection->identity();
            comms::OperationContext context{context_.doc, connection->link(), record, prompts_,
                                            textLookup(), language(),         {}};
            context.refreshViews = [this](model::DocHint) {
                prompts_.ask<bool>(false, [this](QWidget*) {
                    if (setup_.refreshViews) {
                        setup_.refreshViews();
                    }
                    return true;
                });
            };
            outcome_.result = setup_.work(context);
            if (cancelRequested_) {
                outcome_.result.status = comms::OperationStatus::Cancelled;
            }
            outcome_.end = RunEnd::Ran;
            outcome_.lockFailed = !connection->finish(outcome_.result.unitLocked);
            break;
        }
        case comms::UnlockOutcome::PinRefused:
            outcome_.end = RunEnd::PinRefused;
            break;
        case comms::UnlockOutcome::Cancelled:
            outcome_.end = RunEnd::PinCancelled;
            break;
        case comms::UnlockOutcome::NoUnit:
        case comms::UnlockOutcome::Silent:
            outcome_.end = RunEnd::NotUnlocked;
            outcome_.error = error;
            break;
    }
    attachConnection(nullptr);
    connection.reset();
}

void DeviceSelectDialog::operationDone() {
    setBusy(false);
    hideProgress();
    const RunOutcome outcome = std::move(outcome_);
    if (outcome.end == RunEnd::Ran) {
        result_ = outcome.result;
    }
    Q_EMIT workFinished();
    if (cancelRequested_) {
        endCancelled();
        return;
    }
    const QString caption = QStringLiteral("Qelto");
    switch (outcome.end) {
        case RunEnd::NotOpened:
        case RunEnd::NotUnlocked:
            // The engineer may pick another unit or scan again.
            answers_.message(this, QString::fromStdString(outcome.error), comms::MessageIcon::Error,
                             caption);
            showStatus(context_.text(comms::kStatusUnitsListed));
            return;
        case RunEnd::PinRefused:
            answers_.message(this, context_.text(commstext::kMsgUnlockFailed),
                             comms::MessageIcon::Error, caption);
            QDialog::reject();
            return;
        case RunEnd::PinCancelled:
            QDialog::reject();
            return;
        case RunEnd::Ran:
            break;
    }
    if (outcome.lockFailed) {
        answers_.message(this, context_.text(commstext::kMsgStillUnlocked),
                         comms::MessageIcon::Warning, caption);
    }
    if (!outcome.result.differences.empty()) {
        answers_.showDifferences(this, outcome.result.differences);
    }
    QDialog::accept();
}

void DeviceSelectDialog::endCancelled() {
    const QString caption = QStringLiteral("Qelto");
    if (result_) {
        answers_.message(this,
                         context_.text(outcome_.lockFailed ? commstext::kMsgCancelledUnlocked
                                                           : commstext::kMsgCancelled),
                         comms::MessageIcon::Warning, caption);
    }
    cancelRequested_ = false;
    reject();
}

void DeviceSelectDialog::reject() {
    if (worker_.busy()) {
        if (!cancelRequested_) {
            cancelRequested_ = true;
            abort_ = true;
            prompts_.abandon();
            {
                const std::lock_guard lock(connectionMutex_);
                if (connection_ != nullptr) {
                    connection_->abortFlag() = true;
                }
            }
            showStatus(context_.text(commstext::kStatusCancelling));
            cancel_->setEnabled(false);
        }
        return;  // the worker's end closes the dialog
    }
    // The document shows as many pumps as its unit type has, whatever a read left behind.
    context_.doc.setPumpCount(model::unitPumpCount(context_.doc.config().unitType));
    if (setup_.refreshViews) {
        setup_.refreshViews();
    }
    devices_.closeLinks();
    QDialog::reject();
}

}  // namespace qelto::app
