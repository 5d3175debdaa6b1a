#include "app/comms/device_select_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "app/comms/comms_texts.h"
#include "app/shell/shell_context.h"
#include "app/shell/shell_texts.h"
#include "model/unit_types.h"

namespace qelto::app {
namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

DeviceSelectDialog::DeviceSelectDialog(ShellContext& context, CommsAnswers& answers,
                                       DeviceDialogSetup setup, QWidget* parent)
    : QDialog(parent),
      context_(context),
      answers_(answers),
      setup_(std::move(setup)),
      panel_(new OperationStatusPanel(2, this)),
      prompts_(context.language, answers, this, *panel_, setup_.reportOptions),
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

    layout->addWidget(panel_);

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

    connect(scan_, &QPushButton::clicked, this, &DeviceSelectDialog::scanAndRefill);
    connect(bluetooth_, &QPushButton::clicked, this, &DeviceSelectDialog::scanBluetooth);
    connect(ok_, &QPushButton::clicked, this, &DeviceSelectDialog::OnDevselectok);
    connect(cancel_, &QPushButton::clicked, this, &DeviceSelectDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, &DeviceSelectDialog::selectionChanged);
    // A double click does nothing: OK is a deliberate second step.
    updateOk();
}

DeviceSelectDialog::~DeviceSelectDialog() {
    if (worker_.busy()) {
        context_.units.cancel();
    }
    prompts_.abandon();
    // worker_ is destroyed first of the members and waits for the work.
}

comms::UnitSession& DeviceSelectDialog::session() {
    comms::UnitSession& units = context_.units;
    units.configure(comms::sessionSettingsFrom(context_.settings));
    units.clearCancel();
    cancelRequested_ = false;
    return units;
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
    panel_->showStatus(context_.text(comms::kStatusUnitsListed));
    refillList();
    // A list that takes the focus first makes its first line current, which would choose a
    // unit the engineer never picked.
    scan_->setFocus();
    // A command on the unit chosen before runs at once; Scan and Cancel stay at hand.
    if (const int line = chosenLine(); line >= 0 && setup_.operation != kOpFindUnits) {
        list_->setCurrentRow(line);
        QTimer::singleShot(0, this, &DeviceSelectDialog::OnDevselectok);
    }
}

int DeviceSelectDialog::chosenLine() const {
    if (!context_.chosenUnit) {
        return -1;
    }
    const comms::DeviceTable& table = context_.units.units();
    for (std::size_t line = 0; line < table.count(); ++line) {
        if (table[line].serialNo == context_.chosenUnit->serial) {
            return static_cast<int>(line);
        }
    }
    return -1;
}

void DeviceSelectDialog::chooseLine(int row, const std::string& where) {
    const comms::DeviceEntry& entry = context_.units.units()[static_cast<std::size_t>(row)];
    ChosenUnit chosen;
    chosen.line = static_cast<std::size_t>(row);
    chosen.serial = entry.serialNo;
    chosen.model = entry.label.substr(0, entry.label.find(" - "));
    chosen.where = where;
    if (where.empty()) {
        const std::string port = context_.units.settings().serialPort;
        chosen.where = comms::isUsbLink(entry.linkType) ? std::string("USB") : port;
        if (comms::isRadioLink(entry.linkType)) {
            chosen.where += ", RF channel " + std::to_string(entry.rfChannel);
        }
    }
    context_.chosenUnit = chosen;
}

void DeviceSelectDialog::refillList() {
    const QSignalBlocker quiet(list_);
    bluetoothListMode_ = false;
    list_->clear();
    panel_->showStatus(QString());
    for (const std::string& line : context_.units.units().listLines()) {
        list_->addItem(QString::fromStdString(line));
    }
    panel_->showStatus(
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
    panel_->showStatus(list_->item(row)->text());
    updateOk();
}

void DeviceSelectDialog::showBluetooth(comms::BluetoothMessage message) {
    const comms::BluetoothStatus shown = comms::bluetoothStatus(language(), message);
    const QString text =
        QString::fromUtf8(shown.text.data(), static_cast<qsizetype>(shown.text.size()));
    (shown.line == comms::StatusLine::First ? panel_->statusLine() : panel_->secondStatusLine())
        ->setText(text);
}

void DeviceSelectDialog::scanAndRefill() {
    if (worker_.busy()) {
        return;
    }
    comms::UnitSession& units = session();
    bluetoothListMode_ = false;
    okAfterPairing_ = false;
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
    }
    setBusy(true);
    // Until the scan's own status arrives the line would still say what the last list held.
    panel_->showStatus(context_.text(comms::kStatusScanning));
    worker_.start([this, &units] { units.scan(prompts_); },
                  [this] {
                      panel_->hideProgress();
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
    comms::UnitSession& units = session();
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
    }
    bluetoothListMode_ = false;
    panel_->secondStatusLine()->clear();
    setBusy(true);
    worker_.start(
        [this, &units] {
            bool scanning = false;
            bluetoothScan_ = units.scanBluetooth([this, &scanning](std::size_t) {
                if (!scanning) {
                    scanning = true;
                    QMetaObject::invokeMethod(
                        this, [this] { showBluetooth(comms::BluetoothMessage::Scanning); },
                        Qt::QueuedConnection);
                    prompts_.progressRange(static_cast<int>(comms::kDiscoveryLimit));
                }
                prompts_.progressStep();
            });
            prompts_.progressHide();
        },
        [this] {
            panel_->hideProgress();
            setBusy(false);
            if (!bluetoothScan_.dongleFound) {
                showBluetooth(comms::BluetoothMessage::NoDongle);
            } else if (bluetoothScan_.lines.empty()) {
                showBluetooth(comms::BluetoothMessage::NoUnits);
            } else {
                const QSignalBlocker quiet(list_);
                for (const std::string& line : bluetoothScan_.lines) {
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
    const QString line = list_->item(row)->text();
    comms::UnitSession& units = session();
    setBusy(true);
    worker_.start(
        [this, &units, row] { pairResult_ = units.pairBluetooth(static_cast<std::size_t>(row)); },
        [this, line] {
            if (pairResult_ == comms::PairResult::Paired) {
                bluetoothListMode_ = false;
                panel_->secondStatusLine()->setText(
                    QString::fromStdString(comms::pairedStatus(line.toLatin1().toStdString())));
                const QSignalBlocker quiet(list_);
                list_->clear();
                panel_->statusLine()->setText(QStringLiteral(" "));
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
    const bool listed = row >= 0 && static_cast<std::size_t>(row) < context_.units.units().count();
    if (setup_.operation == kOpFindUnits) {
        if (listed) {
            chooseLine(row, {});
        }
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
    comms::UnitSession& units = session();
    comms::UnitChoice choice;
    choice.line = static_cast<std::size_t>(row);
    choice.onlySerial = setup_.onlySerial;
    runRow_ = row;
    const auto pin = context_.unitPins.find(units.units()[choice.line.value()].serialNo);
    prompts_.offerPin(pin != context_.unitPins.end() ? std::optional(pin->second) : std::nullopt);
    prompts_.resume();
    outcome_ = {};
    setBusy(true);
    worker_.start(
        [this, &units, choice] {
            const comms::UnitOperation work = [this](comms::OperationContext& context) {
                context.refreshViews = [this](model::DocHint) {
                    prompts_.ask<bool>(false, [this](QWidget*) {
                        if (setup_.refreshViews) {
                            setup_.refreshViews();
                        }
                        return true;
                    });
                };
                return setup_.work(context);
            };
            outcome_ = units.run(
                choice, context_.doc, prompts_, work,
                [this](const comms::UnitIdentity& unit, const std::string&) { identity_ = unit; },
                setup_.recording);
        },
        [this] { operationDone(); });
}

void DeviceSelectDialog::operationDone() {
    setBusy(false);
    panel_->hideProgress();
    const comms::SessionOutcome outcome = std::move(outcome_);
    lockFailed_ = outcome.lockFailed;
    if (outcome.end == comms::SessionEnd::Ran) {
        result_ = outcome.result;
        // The unit that ran the command stays chosen, and its PIN is given again next time.
        chooseLine(runRow_, outcome.where);
        // The scan's list knows only the product; the unit itself said which model it is.
        if (identity_.serial == context_.chosenUnit->serial) {
            context_.chosenUnit->model = model::unitModelName(identity_.unitTypeIndex);
        }
        if (const auto pin = prompts_.lastPin()) {
            context_.unitPins[context_.chosenUnit->serial] = *pin;
        }
    } else if (outcome.end == comms::SessionEnd::PinRefused) {
        context_.unitPins.erase(context_.units.units()[static_cast<std::size_t>(runRow_)].serialNo);
    }
    Q_EMIT workFinished();
    if (cancelRequested_) {
        endCancelled();
        return;
    }
    const QString caption = QStringLiteral("Qelto");
    switch (outcome.end) {
        case comms::SessionEnd::NotOpened:
        case comms::SessionEnd::NotUnlocked:
            // The engineer may pick another unit or scan again; the next command does not try
            // the unreachable one at once again.
            context_.chosenUnit.reset();
            answers_.message(this, QString::fromStdString(outcome.error), comms::MessageIcon::Error,
                             caption);
            panel_->showStatus(context_.text(comms::kStatusUnitsListed));
            return;
        case comms::SessionEnd::PinRefused:
            answers_.message(this, context_.text(commstext::kMsgUnlockFailed),
                             comms::MessageIcon::Error, caption);
            QDialog::reject();
            return;
        case comms::SessionEnd::Cancelled:
            // The PIN question was cancelled: nothing ran.
            QDialog::reject();
            return;
        case comms::SessionEnd::Ran:
            break;
    }
    if (!outcome.stoppedAnswering.empty()) {
        answers_.message(this, QString::fromStdString(outcome.stoppedAnswering),
                         comms::MessageIcon::Error, caption);
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
                         context_.text(lockFailed_ ? commstext::kMsgCancelledUnlocked
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
            context_.units.cancel();
            prompts_.abandon();
            panel_->showStatus(context_.text(commstext::kStatusCancelling));
            cancel_->setEnabled(false);
        }
        return;  // the worker's end closes the dialog
    }
    // The document shows as many pumps as its unit type has, whatever a read left behind.
    context_.doc.setPumpCount(model::unitPumpCount(context_.doc.config().unitType));
    if (setup_.refreshViews) {
        setup_.refreshViews();
    }
    context_.units.closeLinks();
    QDialog::reject();
}

}  // namespace qelto::app
