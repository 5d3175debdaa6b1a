#include "app/editor/global_view.h"

#include <QDateTime>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLocale>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "app/editor/editor_texts.h"
#include "comms/operation_driver.h"
#include "comms/unit_clock.h"
#include "model/config_fields.h"
#include "model/unit_types.h"

namespace qelto::app {
namespace {

QSpinBox* spin(const model::FieldInfo& field, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(static_cast<int>(field.min), static_cast<int>(field.max));
    return box;
}

QLineEdit* textEdit(const model::FieldInfo& field, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(static_cast<int>(field.max));
    return edit;
}

void showText(QLineEdit* edit, std::string_view latin1) {
    const QSignalBlocker blocker(edit);
    edit->setText(fromRecord(latin1));
}

void showValue(QSpinBox* box, int value) {
    const QSignalBlocker blocker(box);
    box->setValue(value);
}

void showIndex(QComboBox* box, int index) {
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index);
}

// The unit's time and the PC's stand one above the other in the same form, so the engineer sees
// at a glance how far apart they are: to the second, the date as the language writes it.
QString clockFormat() {
    QString date = QLocale().dateFormat(QLocale::ShortFormat);
    if (!date.contains(QStringLiteral("yyyy"))) {
        date.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return QStringLiteral("HH:mm:ss - ") + date;
}

QString unitTimeShown(const std::string& text) {
    const std::optional<std::tm> time = comms::parseUnitTimeText(text);
    if (!time) {
        return QString::fromStdString(text);
    }
    const QDateTime shown(QDate(time->tm_year + 1900, time->tm_mon + 1, time->tm_mday),
                          QTime(time->tm_hour, time->tm_min, time->tm_sec));
    return shown.toString(clockFormat());
}

}  // namespace

void fillSpeedRanges(QComboBox* box, bool allRanges, std::uint32_t stored) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (std::uint32_t range = 0; range < 4; ++range) {
        if (allRanges || range == 0 || range == 3 || range == stored) {
            box->addItem(QString::number(range), range);
        }
    }
    box->setCurrentIndex(box->findData(stored));
}

GlobalView::GlobalView(EditorContext& context, QWidget* parent) : DetailView(context, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* page = new QWidget(scroll);
    auto* grid = new QGridLayout(page);
    auto* title =
        new QLabel(QStringLiteral("<b>%1</b>").arg(ctx_.text(text::kGlobalSettings)), page);
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(buildSettings(), 1, 0);
    // The customer texts and the clock stack at the top of the right column at their own height.
    auto* right = new QVBoxLayout;
    right->addWidget(buildCustomer());
    right->addWidget(buildClock());
    right->addStretch(1);
    grid->addLayout(right, 1, 1);
    grid->addWidget(buildPumps(), 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    scroll->setWidget(page);
}

void GlobalView::edit(const std::function<void()>& write) {
    if (loading()) {
        return;
    }
    write();
    markEdited();
}

QWidget* GlobalView::buildSettings() {
    auto* group = new QGroupBox(ctx_.text(text::kSettingsGroup), this);
    auto* form = new QFormLayout(group);
    const QString min = ctx_.text(text::kMinutes);
    const QString sec = ctx_.text(text::kSeconds);
    model::CProgData& config = ctx_.config();

    unitType_ = new QComboBox(group);
    for (std::uint8_t code = 0; code < model::kUnitModelCount; ++code) {
        unitType_->addItem(QString::fromStdString(model::unitModelName(code)),
                           model::unitPumpCount(code));
    }
    form->addRow(ctx_.text(text::kUnitType), unitType_);
    connect(unitType_, &QComboBox::activated, this, [this](int index) {
        if (loading() || index < 0 || index >= model::kUnitModelCount ||
            index == ctx_.config().unitType) {
            return;
        }
        ctx_.controls = ctx_.rules.apply(ctx_.doc, static_cast<std::uint8_t>(index), true);
        markEdited();
        Q_EMIT unitTypeChanged();
    });

    for (std::size_t i = 0; i < pins_.size(); ++i) {
        pins_[i] = spin(model::configField("pin"), group);
        form->addRow(ctx_.text(text::kPin + static_cast<int>(i)), pins_[i]);
        connect(pins_[i], &QSpinBox::valueChanged, this, [this, i, &config](int value) {
            edit([&] { config.pin[i] = static_cast<std::uint16_t>(value); });
        });
    }
    accessCode_ = spin(model::configField("accessCode"), group);
    form->addRow(ctx_.text(text::kAccessCode), accessCode_);
    connect(accessCode_, &QSpinBox::valueChanged, this, [this, &config](int value) {
        edit([&] { config.accessCode = static_cast<std::uint8_t>(value); });
    });

    flushType_ = new QComboBox(group);
    flushType_->addItems({ctx_.text(text::kDuringAndAfter), ctx_.text(text::kAfterOnly)});
    form->addRow(ctx_.text(text::kFlushValve), flushType_);
    connect(flushType_, &QComboBox::currentIndexChanged, this,
            [this, &config](int index) { edit([&] { config.FlushType = index > 0 ? 1u : 0u; }); });
    flushValveTime_ = new TimeEdit(model::configField("flushValveTime"), min, sec, group);
    form->addRow(ctx_.text(text::kFlushValveTime), flushValveTime_);
    connect(flushValveTime_, &TimeEdit::changed, this, [this, &config](int m, int s) {
        edit([&] {
            config.flushValveTime = {static_cast<std::uint8_t>(m), static_cast<std::uint8_t>(s),
                                     config.flushValveTime.third};
        });
    });

    resetDelayOff_ = new QComboBox(group);
    resetDelayOff_->addItems({ctx_.text(text::kEnabled), ctx_.text(text::kFeatureOff)});
    form->addRow(ctx_.text(text::kResetDelay), resetDelayOff_);
    connect(resetDelayOff_, &QComboBox::currentIndexChanged, this, [this, &config](int index) {
        edit([&] { config.resetDelayOff = index > 0 ? 1 : 0; });
    });
    resetDelayFrom_ = new QComboBox(group);
    resetDelayFrom_->addItems({ctx_.text(text::kLastPump), ctx_.text(text::kLastInput)});
    form->addRow(ctx_.text(text::kResetDelayFrom), resetDelayFrom_);
    connect(resetDelayFrom_, &QComboBox::currentIndexChanged, this, [this, &config](int index) {
        edit([&] { config.resetDelayLastInput = index > 0 ? 1 : 0; });
    });
    resetDelayTime_ = new TimeEdit(model::configField("resetDelayTime"), min, sec, group);
    form->addRow(ctx_.text(text::kResetDelayTime), resetDelayTime_);
    connect(resetDelayTime_, &TimeEdit::changed, this, [this, &config](int m, int s) {
        edit([&] {
            config.resetDelayTime = {static_cast<std::uint8_t>(m), static_cast<std::uint8_t>(s),
                                     config.resetDelayTime.third};
        });
    });

    relayMode_ = new QComboBox(group);
    relayMode_->addItems({ctx_.text(text::kNormalMode), ctx_.text(text::kRelayMode)});
    form->addRow(ctx_.text(text::kOutputMode), relayMode_);
    connect(relayMode_, &QComboBox::currentIndexChanged, this,
            [this, &config](int index) { edit([&] { config.relayMode = index > 0 ? 1u : 0u; }); });
    safetyStop_ = spin(model::configField("SafetyStopMode"), group);
    form->addRow(ctx_.text(text::kSafetyStop), safetyStop_);
    connect(safetyStop_, &QSpinBox::valueChanged, this, [this, &config](int value) {
        edit([&] { config.SafetyStopMode = static_cast<std::uint32_t>(value); });
    });
    autoFlushMode_ = spin(model::configField("autofs_mode"), group);
    form->addRow(ctx_.text(text::kAutoFlushMode), autoFlushMode_);
    connect(autoFlushMode_, &QSpinBox::valueChanged, this, [this, &config](int value) {
        edit([&] { config.autofs_mode = static_cast<std::uint32_t>(value); });
        showAutoFlush();
    });
    // The mode decides which of the two auto flush-valve values the field edits.
    auto* autoFlush = new QWidget(group);
    auto* autoFlushRow = new QHBoxLayout(autoFlush);
    autoFlushRow->setContentsMargins(0, 0, 0, 0);
    autoFlushTime_ = new TimeEdit(model::configField("autofs_time"), min, sec, autoFlush);
    autoFlushAccept_ = spin(model::configField("autofs_accept_time"), autoFlush);
    autoFlushRow->addWidget(autoFlushTime_);
    autoFlushRow->addWidget(autoFlushAccept_);
    autoFlushLabel_ = new QLabel(group);
    form->addRow(autoFlushLabel_, autoFlush);
    connect(autoFlushTime_, &TimeEdit::changed, this, [this, &config](int m, int s) {
        edit([&] {
            config.autofs_time = {static_cast<std::uint8_t>(m), static_cast<std::uint8_t>(s),
                                  config.autofs_time.third};
        });
    });
    connect(autoFlushAccept_, &QSpinBox::valueChanged, this, [this, &config](int value) {
        edit([&] { config.autofs_accept_time = static_cast<std::uint8_t>(value); });
    });

    resetOption_ = spin(model::configField("resetOption"), group);
    form->addRow(ctx_.text(text::kResetToOption), resetOption_);
    connect(resetOption_, &QSpinBox::valueChanged, this, [this, &config](int value) {
        edit([&] { config.resetOption = static_cast<std::uint8_t>(value); });
    });
    resetProgram_ = spin(model::configField("resetProgChoice"), group);
    form->addRow(ctx_.text(text::kResetToProgram), resetProgram_);
    connect(resetProgram_, &QSpinBox::valueChanged, this, [this, &config](int value) {
        edit([&] { config.resetProgChoice = static_cast<std::uint8_t>(value); });
    });
    // Two option bits the unit interprets; the record carries them as flags.
    optionA_ = new QCheckBox(ctx_.text(text::kOptionA), group);
    optionB_ = new QCheckBox(ctx_.text(text::kOptionB), group);
    form->addRow(optionA_);
    form->addRow(optionB_);
    connect(optionA_, &QCheckBox::toggled, this,
            [this, &config](bool on) { edit([&] { config.optionFlag0 = on ? 1u : 0u; }); });
    connect(optionB_, &QCheckBox::toggled, this,
            [this, &config](bool on) { edit([&] { config.optionFlag1 = on ? 1u : 0u; }); });
    return group;
}

QWidget* GlobalView::buildCustomer() {
    auto* group = new QGroupBox(ctx_.text(text::kCustomerGroup), this);
    auto* form = new QFormLayout(group);
    model::CProgData& config = ctx_.config();
    customer1_ = textEdit(model::configField("customerName1"), group);
    customer2_ = textEdit(model::configField("customerName2"), group);
    description_ = textEdit(model::configField("unitDescription"), group);
    serial_ = new QLabel(group);
    form->addRow(ctx_.text(text::kCustomerName1), customer1_);
    form->addRow(ctx_.text(text::kCustomerName2), customer2_);
    form->addRow(ctx_.text(text::kDescription), description_);
    form->addRow(ctx_.text(text::kSerialNumber), serial_);
    connect(customer1_, &QLineEdit::textEdited, this, [this, &config](const QString& typed) {
        edit([&] { model::setText(config.customerName1, toRecord(typed)); });
    });
    connect(customer2_, &QLineEdit::textEdited, this, [this, &config](const QString& typed) {
        edit([&] { model::setText(config.customerName2, toRecord(typed)); });
    });
    connect(description_, &QLineEdit::textEdited, this, [this, &config](const QString& typed) {
        edit([&] { model::setText(config.unitDescription, toRecord(typed)); });
    });
    return group;
}

QWidget* GlobalView::buildClock() {
    auto* group = new QGroupBox(ctx_.text(text::kUnitClock), this);
    auto* form = new QFormLayout(group);
    pcTime_ = new QLabel(group);
    form->addRow(ctx_.text(text::kPcTime), pcTime_);
    unitTime_ = new QLabel(group);
    unitTime_->setObjectName(QStringLiteral("unitTime"));
    form->addRow(ctx_.text(text::kUnitTime), unitTime_);
    auto* buttons = new QWidget(group);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    readClock_ = new QPushButton(ctx_.text(text::kReadClock), buttons);
    setClock_ = new QPushButton(ctx_.text(text::kSetClock), buttons);
    // Reading and setting the clock talk to a unit, which this pane does not do.
    for (QPushButton* button : {readClock_, setClock_}) {
        button->setEnabled(false);
        button->setToolTip(ctx_.text(text::kClockLater));
        row->addWidget(button);
    }
    form->addRow(buttons);
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &GlobalView::showClock);
    timer->start(1000);
    showClock();
    return group;
}

void GlobalView::setClockCommands(const std::function<void()>& read,
                                  const std::function<void()>& set) {
    for (auto [button, run] : {std::pair{readClock_, read}, std::pair{setClock_, set}}) {
        button->disconnect(this);
        connect(button, &QPushButton::clicked, this, run);
        button->setEnabled(true);
        button->setToolTip(QString());
    }
}

QWidget* GlobalView::buildPumps() {
    auto* group = new QGroupBox(ctx_.text(text::kPumps), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(ctx_.text(text::kPumpName), group), 0, 1);
    grid->addWidget(new QLabel(ctx_.text(text::kSpeed), group), 0, 2);
    grid->addWidget(new QLabel(ctx_.text(text::kSpeedRange), group), 0, 3);
    model::CProgData& config = ctx_.config();
    for (std::size_t i = 0; i < model::kPumps; ++i) {
        const int row = static_cast<int>(i) + 1;
        pumpLabels_[i] = new QLabel(
            QStringLiteral("%1 %2").arg(ctx_.text(text::kPump)).arg(row, 2, 10, QLatin1Char('0')),
            group);
        names_[i] = new QLineEdit(group);
        speeds_[i] = spin(model::configField("pumpSpeed"), group);
        speeds_[i]->setSuffix(QStringLiteral(" %"));
        ranges_[i] = new QComboBox(group);
        grid->addWidget(pumpLabels_[i], row, 0);
        grid->addWidget(names_[i], row, 1);
        grid->addWidget(speeds_[i], row, 2);
        grid->addWidget(ranges_[i], row, 3);
        connect(names_[i], &QLineEdit::textEdited, this, [this, i, &config](const QString& typed) {
            edit([&] { config.pumpName[i] = toRecord(typed); });
            Q_EMIT pumpNameChanged(static_cast<int>(i));
        });
        connect(speeds_[i], &QSpinBox::valueChanged, this, [this, i, &config](int value) {
            edit([&] { config.pumpSpeed[i] = static_cast<std::uint8_t>(value); });
        });
        connect(ranges_[i], &QComboBox::activated, this, [this, i, &config](int index) {
            edit([&] { config.pumpSpeedRange[i] = ranges_[i]->itemData(index).toUInt(); });
        });
    }
    grid->setColumnStretch(1, 1);
    return group;
}

void GlobalView::showClock() {
    pcTime_->setText(QDateTime::currentDateTime().toString(clockFormat()));
}

void GlobalView::showAutoFlush() {
    const bool accept = ctx_.config().autofs_mode != 0;
    autoFlushLabel_->setText(ctx_.text(accept ? text::kAutoFlushAccept : text::kAutoFlushTime));
    autoFlushTime_->setVisible(!accept);
    autoFlushAccept_->setVisible(accept);
}

void GlobalView::showPumpControls() {
    const model::CProgData& config = ctx_.config();
    // Pumps the unit type does not have are left out, not greyed.
    const unsigned fitted = ctx_.pumpCount();
    for (std::size_t i = 0; i < model::kPumps; ++i) {
        const model::PumpControlState& state = ctx_.controls.pumps[i];
        for (QWidget* widget :
             std::initializer_list<QWidget*>{pumpLabels_[i], names_[i], speeds_[i], ranges_[i]}) {
            widget->setVisible(i < fitted);
            widget->setEnabled(state.enabled);
        }
        showText(names_[i], config.pumpName[i]);
        showValue(speeds_[i], config.pumpSpeed[i]);
        fillSpeedRanges(ranges_[i], state.allSpeedRanges, config.pumpSpeedRange[i]);
    }
}

void GlobalView::refresh() {
    const Loading guard(*this);
    const model::CProgData& config = ctx_.config();
    // The unit clock as the last read found it; a unit read without a time has no clock.
    const std::string& unitTime = ctx_.doc.commsCopy().UnitTimeText;
    unitTime_->setText(!unitTime.empty() ? unitTimeShown(unitTime)
                       : config.identitySource == model::IdentitySource::UnitRead
                           ? QString::fromLatin1(comms::kNoClockText.data(),
                                                 static_cast<qsizetype>(comms::kNoClockText.size()))
                           : QStringLiteral("-"));
    // A code without a model row (an older file or unit) shows as its number until the engineer
    // chooses a model; it is never offered as a choice of its own.
    while (unitType_->count() > model::kUnitModelCount) {
        unitType_->removeItem(unitType_->count() - 1);
    }
    if (config.unitType >= model::kUnitModelCount) {
        const QSignalBlocker blocker(unitType_);
        unitType_->addItem(QString::fromStdString(model::unitModelName(config.unitType)),
                           model::unitPumpCount(config.unitType));
    }
    showIndex(unitType_,
              config.unitType < model::kUnitModelCount ? config.unitType : model::kUnitModelCount);
    for (std::size_t i = 0; i < pins_.size(); ++i) {
        showValue(pins_[i], config.pin[i]);
    }
    showValue(accessCode_, config.accessCode);
    showIndex(flushType_, config.FlushType != 0 ? 1 : 0);
    flushValveTime_->setTime(config.flushValveTime);
    showIndex(resetDelayOff_, config.resetDelayOff != 0 ? 1 : 0);
    showIndex(resetDelayFrom_, config.resetDelayLastInput != 0 ? 1 : 0);
    resetDelayTime_->setTime(config.resetDelayTime);
    showIndex(relayMode_, config.relayMode != 0 ? 1 : 0);
    showValue(safetyStop_, static_cast<int>(std::min<std::uint32_t>(config.SafetyStopMode, 255)));
    showValue(autoFlushMode_, static_cast<int>(std::min<std::uint32_t>(config.autofs_mode, 255)));
    autoFlushTime_->setTime(config.autofs_time);
    showValue(autoFlushAccept_, config.autofs_accept_time);
    showAutoFlush();
    showValue(resetOption_, config.resetOption);
    showValue(resetProgram_, config.resetProgChoice);
    {
        const QSignalBlocker blockA(optionA_);
        const QSignalBlocker blockB(optionB_);
        optionA_->setChecked(config.optionFlag0 != 0);
        optionB_->setChecked(config.optionFlag1 != 0);
    }
    showText(customer1_, model::textOf(config.customerName1));
    showText(customer2_, model::textOf(config.customerName2));
    showText(description_, model::textOf(config.unitDescription));
    // A unit's identity shows with its software; a document that names no unit shows the default.
    QString serial = fromRecord(model::textOf(config.SerialNoUnit));
    if (config.identitySource != model::IdentitySource::None) {
        serial += QStringLiteral("  (") + fromRecord(model::textOf(config.SoftwareVersion)) +
                  QLatin1Char(')');
    }
    serial_->setText(serial);
    showPumpControls();
}

}  // namespace qelto::app
