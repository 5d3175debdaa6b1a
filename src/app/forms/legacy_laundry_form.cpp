#include "app/forms/legacy_laundry_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "app/comms/comms_answers.h"
#include "app/comms/older_unit_dialog.h"
#include "app/forms/form_fields.h"
#include "comms/legacy_operations.h"
#include "model/config_fields.h"
#include "model/legacy_config.h"
#include "model/unit_types.h"

namespace qelto::app {

using forms::catalogText;
using forms::numberBox;
namespace lc = model::lc;

namespace {

// Texts of the form that have no number of the units' own.
constexpr int kTextCustomerGroup = 3610;
constexpr int kTextCustomerLine1 = 3611;
constexpr int kTextCustomerLine2 = 3612;
constexpr int kTextUnitGroup = 3613;
constexpr int kTextUnitType = 3614;
constexpr int kTextSerialNumber = 3615;
constexpr int kTextAccessCode = 3616;
constexpr int kTextPin1 = 3617;  // PIN 2 and 3 follow
constexpr int kTextTimesGroup = 3620;
constexpr int kTextResetDelay = 3621;
constexpr int kTextResetDelayOff = 3622;
constexpr int kTextFlushValve = 3623;
constexpr int kTextDefaultsGroup = 3624;
constexpr int kTextPulseCount = 3625;
constexpr int kTextPumpSpeed = 3626;
constexpr int kTextRunTime = 3627;
constexpr int kTextDelayTime = 3628;
constexpr int kTextReadUnit = 3629;
constexpr int kTextWriteUnit = 3630;
constexpr int kTextThirdCommand = 3631;
constexpr int kTextTalking = 3632;
constexpr int kTextOutOfRange = 3634;

// The image holds settings the record also keeps in fields of its own, in the same ranges: the
// customer lines 16 characters and their terminating zero, the serial number nine digits (up to
// 999,999,999) in its ten bytes.
constexpr int kCustomerChars = static_cast<int>(model::configField("customerName1").max);
constexpr int kSerialDigits = static_cast<int>(model::configField("SerialNoUnit").max);
constexpr int kMaxMinutes = model::kLongestTime.minutes;
constexpr int kMaxSeconds = model::kLongestTime.seconds;
// Two digits on the units' display.
constexpr int kMaxPulseCount = 99;

void storeText(model::LegacyConfig& image, std::size_t at, std::size_t width,
               const std::string& latin1) {
    std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(at), width, std::uint8_t{0});
    const std::size_t n = std::min(latin1.size(), width - 1);
    std::copy_n(latin1.begin(), n, image.begin() + static_cast<std::ptrdiff_t>(at));
}

std::string loadText(const model::LegacyConfig& image, std::size_t at, std::size_t width,
                     std::size_t maxChars) {
    std::string text;
    for (std::size_t i = 0; i < width && i < maxChars && image[at + i] != 0; ++i) {
        text.push_back(static_cast<char>(image[at + i]));
    }
    return text;
}

}  // namespace

LegacyLaundryForm::LegacyLaundryForm(model::CQeltoDoc& doc, const platform::LanguageCatalog& texts,
                                     comms::UnitSession& session, QWidget* parent,
                                     CommsAnswers* answers)
    : QWidget(parent), doc_(doc), texts_(texts), session_(session), answers_(answers) {
    if (answers_ == nullptr) {
        ownAnswers_ = std::make_unique<DialogCommsAnswers>(texts_);
        answers_ = ownAnswers_.get();
    }
    build();
    reload();
    connectEdits();
}

// A command still talking to the unit is cancelled and waited for while the form it asks its
// questions over still exists.
LegacyLaundryForm::~LegacyLaundryForm() {
    delete talking_.data();
}

bool LegacyLaundryForm::busy() const {
    return talking_ != nullptr && talking_->busy();
}

void LegacyLaundryForm::build() {
    auto* outer = new QVBoxLayout(this);
    fields_ = new QWidget(this);
    auto* grid = new QGridLayout(fields_);
    grid->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(fields_);

    auto group = [this](int title) {
        auto* box = new QGroupBox(catalogText(texts_, title), fields_);
        auto* form = new QFormLayout(box);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        return std::pair{box, form};
    };
    auto label = [this](int id) { return catalogText(texts_, id); };

    auto [customerBox, customer] = group(kTextCustomerGroup);
    customer1_ = new QLineEdit(customerBox);
    customer2_ = new QLineEdit(customerBox);
    for (QLineEdit* line : {customer1_, customer2_}) {
        line->setMaxLength(kCustomerChars);
        line->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * 14);
    }
    customer->addRow(label(kTextCustomerLine1), customer1_);
    customer->addRow(label(kTextCustomerLine2), customer2_);
    grid->addWidget(customerBox, 0, 0, 1, 2);

    auto [unitBox, unit] = group(kTextUnitGroup);
    unitType_ = new QComboBox(unitBox);
    for (std::uint8_t code = 0; code < model::kUnitModelCount; ++code) {
        unitType_->addItem(QString::fromStdString(model::unitModelName(code)), code);
    }
    serialNumber_ = new QLineEdit(unitBox);
    serialNumber_->setMaxLength(kSerialDigits);
    serialNumber_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,9}")), serialNumber_));
    accessCode_ = numberBox(model::configField("accessCode"), unitBox);
    unit->addRow(label(kTextUnitType), unitType_);
    unit->addRow(label(kTextSerialNumber), serialNumber_);
    unit->addRow(label(kTextAccessCode), accessCode_);
    for (int i = 0; i < 3; ++i) {
        pins_[static_cast<std::size_t>(i)] = numberBox(model::configField("pin"), unitBox);
        unit->addRow(label(kTextPin1 + i), pins_[static_cast<std::size_t>(i)]);
    }
    grid->addWidget(unitBox, 1, 0, 2, 1);

    auto [timesBox, times] = group(kTextTimesGroup);
    resetMinutes_ = numberBox(0, kMaxMinutes, timesBox);
    resetSeconds_ = numberBox(0, kMaxSeconds, timesBox);
    resetDelayOff_ = new QCheckBox(label(kTextResetDelayOff), timesBox);
    flushMinutes_ = numberBox(0, kMaxMinutes, timesBox);
    flushSeconds_ = numberBox(0, kMaxSeconds, timesBox);
    times->addRow(label(kTextResetDelay), forms::minSecPair(resetMinutes_, resetSeconds_));
    times->addRow(QString(), resetDelayOff_);
    times->addRow(label(kTextFlushValve), forms::minSecPair(flushMinutes_, flushSeconds_));
    grid->addWidget(timesBox, 1, 1);

    auto [defaultsBox, defaults] = group(kTextDefaultsGroup);
    pulseCount_ = numberBox(0, kMaxPulseCount, defaultsBox);
    pumpSpeed_ = numberBox(model::configField("pumpSpeed"), defaultsBox);
    runMinutes_ = numberBox(0, kMaxMinutes, defaultsBox);
    runSeconds_ = numberBox(0, kMaxSeconds, defaultsBox);
    delayMinutes_ = numberBox(0, kMaxMinutes, defaultsBox);
    delaySeconds_ = numberBox(0, kMaxSeconds, defaultsBox);
    defaults->addRow(label(kTextPulseCount), pulseCount_);
    defaults->addRow(label(kTextPumpSpeed), pumpSpeed_);
    defaults->addRow(label(kTextRunTime), forms::minSecPair(runMinutes_, runSeconds_));
    defaults->addRow(label(kTextDelayTime), forms::minSecPair(delayMinutes_, delaySeconds_));
    grid->addWidget(defaultsBox, 2, 1);

    auto* buttons = new QHBoxLayout;
    readButton_ = new QPushButton(label(kTextReadUnit), this);
    writeButton_ = new QPushButton(label(kTextWriteUnit), this);
    thirdButton_ = new QPushButton(label(kTextThirdCommand), this);
    buttons->addWidget(readButton_);
    buttons->addWidget(writeButton_);
    buttons->addWidget(thirdButton_);
    buttons->addStretch(1);
    outer->addLayout(buttons);
    status_ = new QLabel(this);
    outer->addWidget(status_);
    outer->addStretch(1);

    // Each box keeps the range it was built with.
    const std::pair<QSpinBox*, int> labelled[] = {{resetMinutes_, kTextResetDelay},
                                                  {resetSeconds_, kTextResetDelay},
                                                  {pulseCount_, kTextPulseCount},
                                                  {pumpSpeed_, kTextPumpSpeed},
                                                  {runMinutes_, kTextRunTime},
                                                  {runSeconds_, kTextRunTime},
                                                  {delayMinutes_, kTextDelayTime},
                                                  {delaySeconds_, kTextDelayTime},
                                                  {pins_[0], kTextPin1},
                                                  {pins_[1], kTextPin1 + 1},
                                                  {pins_[2], kTextPin1 + 2},
                                                  {accessCode_, kTextAccessCode},
                                                  {flushMinutes_, kTextFlushValve},
                                                  {flushSeconds_, kTextFlushValve}};
    for (const auto& [box, text] : labelled) {
        ranged_.push_back({box, text, box->minimum(), box->maximum()});
    }

    // Names for the tests and for anyone scripting the window.
    const std::pair<QWidget*, const char*> names[] = {{customer1_, "customer1"},
                                                      {customer2_, "customer2"},
                                                      {resetMinutes_, "resetMinutes"},
                                                      {resetSeconds_, "resetSeconds"},
                                                      {unitType_, "unitType"},
                                                      {pulseCount_, "pulseCount"},
                                                      {pumpSpeed_, "pumpSpeed"},
                                                      {runMinutes_, "runMinutes"},
                                                      {runSeconds_, "runSeconds"},
                                                      {delayMinutes_, "delayMinutes"},
                                                      {delaySeconds_, "delaySeconds"},
                                                      {pins_[0], "pin1"},
                                                      {pins_[1], "pin2"},
                                                      {pins_[2], "pin3"},
                                                      {accessCode_, "accessCode"},
                                                      {flushMinutes_, "flushMinutes"},
                                                      {flushSeconds_, "flushSeconds"},
                                                      {serialNumber_, "serialNumber"},
                                                      {resetDelayOff_, "resetDelayOff"}};
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QString::fromLatin1(name));
    }

    connect(readButton_, &QPushButton::clicked, this, &LegacyLaundryForm::runRead);
    connect(writeButton_, &QPushButton::clicked, this, &LegacyLaundryForm::runWrite);
    connect(thirdButton_, &QPushButton::clicked, this, &LegacyLaundryForm::runThird);
}

void LegacyLaundryForm::connectEdits() {
    for (QLineEdit* line : {customer1_, customer2_, serialNumber_}) {
        connect(line, &QLineEdit::textChanged, this, &LegacyLaundryForm::edited);
    }
    for (QSpinBox* box : {resetMinutes_, resetSeconds_, pulseCount_, pumpSpeed_, runMinutes_,
                          runSeconds_, delayMinutes_, delaySeconds_, pins_[0], pins_[1], pins_[2],
                          accessCode_, flushMinutes_, flushSeconds_}) {
        connect(box, &QSpinBox::valueChanged, this, &LegacyLaundryForm::edited);
    }
    connect(unitType_, &QComboBox::currentIndexChanged, this, &LegacyLaundryForm::edited);
    connect(resetDelayOff_, &QCheckBox::toggled, this, &LegacyLaundryForm::edited);
}

void LegacyLaundryForm::reload() {
    const model::LegacyConfig& image = doc_.config().legacyConfig;
    loading_ = true;
    customer1_->setText(
        forms::fromRecordText(loadText(image, lc::kCustomerName1, lc::kNameWidth, kCustomerChars)));
    customer2_->setText(
        forms::fromRecordText(loadText(image, lc::kCustomerName2, lc::kNameWidth, kCustomerChars)));
    showValue(resetMinutes_, image[lc::kResetDelayTime]);
    showValue(resetSeconds_, image[lc::kResetDelayTime + 1]);
    int typeRow = unitType_->findData(image[lc::kUnitType]);
    if (typeRow < 0) {
        // Codes of the old numbering beyond the model table still name a unit; keep them.
        unitType_->addItem(QString::fromStdString(model::unitModelName(image[lc::kUnitType])),
                           image[lc::kUnitType]);
        typeRow = unitType_->count() - 1;
    }
    unitType_->setCurrentIndex(typeRow);
    showValue(pulseCount_, image[lc::kPulseCount]);
    showValue(pumpSpeed_, image[lc::kPumpSpeed]);
    showValue(runMinutes_, image[lc::kRunTime]);
    showValue(runSeconds_, image[lc::kRunTime + 1]);
    showValue(delayMinutes_, image[lc::kDelayTime]);
    showValue(delaySeconds_, image[lc::kDelayTime + 1]);
    for (std::size_t i = 0; i < pins_.size(); ++i) {
        showValue(pins_[i], model::legacyPin(image, i));
    }
    showValue(accessCode_, image[lc::kAccessCode]);
    showValue(flushMinutes_, image[lc::kFlushValveTime]);
    showValue(flushSeconds_, image[lc::kFlushValveTime + 1]);
    serialNumber_->setText(
        forms::fromRecordText(loadText(image, lc::kSerialNo, lc::kSerialNoWidth, kSerialDigits)));
    resetDelayOff_->setChecked(image[lc::kResetDelayOff] != 0);
    markRanges();
    loading_ = false;
}

void LegacyLaundryForm::showValue(QSpinBox* box, int value) {
    for (const RangedBox& field : ranged_) {
        if (field.box == box) {
            box->setRange(std::min(value, field.min), std::max(value, field.max));
        }
    }
    box->setValue(value);
}

void LegacyLaundryForm::markRanges() {
    for (const RangedBox& field : ranged_) {
        const int value = field.box->value();
        const bool outside = value < field.min || value > field.max;
        if (!outside) {
            // Corrected: from now on the box refuses what the field cannot hold.
            field.box->setRange(field.min, field.max);
        }
        if (field.box->property("outOfRange").toBool() == outside && !outside) {
            continue;
        }
        field.box->setProperty("outOfRange", outside);
        field.box->setStyleSheet(outside ? QStringLiteral("QSpinBox { background: #ffc8c8; }")
                                         : QString());
        field.box->setToolTip(outside ? catalogText(texts_, kTextOutOfRange)
                                            .arg(catalogText(texts_, field.label),
                                                 QString::number(value), QString::number(field.min),
                                                 QString::number(field.max))
                                      : QString());
    }
}

const LegacyLaundryForm::RangedBox* LegacyLaundryForm::outOfRange() const {
    for (const RangedBox& field : ranged_) {
        if (field.box->value() < field.min || field.box->value() > field.max) {
            return &field;
        }
    }
    return nullptr;
}

void LegacyLaundryForm::storeAll() {
    model::LegacyConfig& image = doc_.config().legacyConfig;
    auto byte = [](const QSpinBox* box) { return static_cast<std::uint8_t>(box->value()); };
    storeText(image, lc::kCustomerName1, lc::kNameWidth, forms::toRecordText(customer1_->text()));
    storeText(image, lc::kCustomerName2, lc::kNameWidth, forms::toRecordText(customer2_->text()));
    model::setLegacyTime(image, lc::kResetDelayTime, byte(resetMinutes_), byte(resetSeconds_));
    image[lc::kUnitType] = static_cast<std::uint8_t>(unitType_->currentData().toUInt());
    image[lc::kPulseCount] = byte(pulseCount_);
    image[lc::kPumpSpeed] = byte(pumpSpeed_);
    model::setLegacyTime(image, lc::kRunTime, byte(runMinutes_), byte(runSeconds_));
    model::setLegacyTime(image, lc::kDelayTime, byte(delayMinutes_), byte(delaySeconds_));
    for (std::size_t i = 0; i < pins_.size(); ++i) {
        model::setLegacyPin(image, i, static_cast<std::uint16_t>(pins_[i]->value()));
    }
    image[lc::kAccessCode] = byte(accessCode_);
    model::setLegacyTime(image, lc::kFlushValveTime, byte(flushMinutes_), byte(flushSeconds_));
    storeText(image, lc::kSerialNo, lc::kSerialNoWidth, forms::toRecordText(serialNumber_->text()));
    image[lc::kResetDelayOff] = resetDelayOff_->isChecked() ? 1 : 0;
}

void LegacyLaundryForm::edited() {
    if (loading_) {
        return;
    }
    markRanges();
    // A box that puts back its previous value after a refused entry says so as a change too.
    const model::LegacyConfig before = doc_.config().legacyConfig;
    storeAll();
    if (doc_.config().legacyConfig == before) {
        return;
    }
    doc_.setModifiedFlag();
    Q_EMIT documentModified();
}

void LegacyLaundryForm::setTalking(bool talking) {
    // The record must not change under a command that reads or writes it.
    fields_->setEnabled(!talking);
    readButton_->setEnabled(!talking);
    writeButton_->setEnabled(!talking);
    thirdButton_->setEnabled(!talking);
    status_->setText(talking ? catalogText(texts_, kTextTalking)
                                   .replace(QStringLiteral("%s"),
                                            QString::fromStdString(session_.settings().serialPort))
                             : QString());
}

void LegacyLaundryForm::run(int titleId, comms::LegacyOperation operation,
                            const comms::HistoryRecording& recording) {
    if (busy()) {
        return;
    }
    OlderUnitSetup setup{session_, doc_, texts_, *answers_, titleId, std::move(operation), {}, {}};
    setup.recording = recording;
    // A read shows what it brought before its closing message says it is there.
    setup.refreshViews = [this] {
        doc_.notifyViews(model::DocHint::Opened);
        reload();
        Q_EMIT documentModified();
    };
    setup.done = [this](const comms::SessionOutcome&) {
        setTalking(false);
        Q_EMIT operationFinished();
    };
    auto* dialog = new OlderUnitDialog(std::move(setup), this);
    setTalking(true);
    if (!dialog->start()) {
        delete dialog;
        setTalking(false);
        return;
    }
    talking_ = dialog;
}

void LegacyLaundryForm::runRead() {
    run(kTextReadUnit, comms::readOlderLaundry,
        {"legacy-read", comms::HistoryRecording::Snapshot::WhenDone});
}

void LegacyLaundryForm::runWrite() {
    storeAll();
    // The unit takes whatever bytes it is sent; a value it cannot hold waits for the engineer.
    markRanges();
    if (const RangedBox* field = outOfRange()) {
        field->box->setFocus();
        QMessageBox::warning(this, QStringLiteral("Qelto"), field->box->toolTip());
        return;
    }
    run(kTextWriteUnit, comms::writeOlderLaundry,
        {"legacy-write", comms::HistoryRecording::Snapshot::Always});
}

void LegacyLaundryForm::runThird() {
    run(kTextThirdCommand, comms::sendThirdPasswordCommand, {"legacy-third"});
}

}  // namespace qelto::app
