#include "app/forms/dishwash_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/forms/form_fields.h"
#include "model/unit_types.h"

namespace qelto::app {

using forms::catalogText;
using Data = model::CDishWashViewData;

namespace {

constexpr int kTextUnitGroup = 3650;
constexpr int kTextUnitType = 3614;
constexpr int kTextUnitMode = 3652;
constexpr int kTextNumPumps = 3653;
constexpr int kTextSerialNumber = 3615;
constexpr int kTextPin1 = 3617;
constexpr int kTextICGroup = 3660;
constexpr int kTextMode = 3661;
constexpr int kTextRunTime = 3627;
constexpr int kTextDelayTime = 3628;
constexpr int kTextPulseCount = 3625;
constexpr int kTextProbeGroup = 3665;
constexpr int kTextInitialDelay = 3666;
constexpr int kTextConcentration = 3667;
constexpr int kTextAlarmDelay = 3668;
constexpr int kTextAlarmOff = 3669;
constexpr int kTextPumpsGroup = 3670;
constexpr int kTextPumpSpeed = 3671;
constexpr int kTextPumpRun = 3672;
constexpr int kTextPumpOff = 3673;
constexpr int kTextPumpPulses = 3674;
constexpr int kTextPump = 240;
constexpr int kTextOutputsGroup = 3675;
constexpr int kTextOutputsOn = 3676;
constexpr int kTextOutput = 3677;
constexpr int kTextOutputPercent = 3678;
constexpr int kTextOutputStart = 3679;
constexpr int kTextOutputDuration = 3680;
constexpr int kTextPropGroup = 3681;
constexpr int kTextPropTo = 3682;
constexpr int kTextPropRunning = 3683;
constexpr int kTextCarriedGroup = 3684;
constexpr int kTextStoredText = 3685;
constexpr int kTextByte4 = 3686;
constexpr int kTextByte69 = 3687;
constexpr int kTextByte88 = 3688;

// The ranges below come from what each byte means to the unit. Times are minute and second
// bytes: the units count minutes to 99 (two digits on their display) and seconds to 59.
constexpr int kMaxMinutes = 99;
constexpr int kMaxSeconds = 59;
constexpr int kMaxUnitMode = 3;      // four modes; Reset knows no others
constexpr int kMaxPumps = 3;         // three pump records
constexpr int kMaxICMode = 3;        // off, signalled, auto, power-up
constexpr int kMaxPulses = 99;       // two display digits, as on the laundry units
constexpr int kMaxProbeMode = 3;     // one byte of mode; the units use the low values
constexpr int kMaxPercent = 100;     // pump speed and output share
constexpr int kMaxHour = 23;         // an output starts at a time of day
constexpr int kMaxByte = 255;        // concentration, proportional values, carried bytes
constexpr int kSerialDigits = 8;     // char[9] with its terminating zero
constexpr int kMaxStoredText = 255;  // carried text, kept short of anything absurd

// Sets field to value; false when it held that value already.
template <typename T>
bool assign(T& field, const T& value) {
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

QFormLayout* formLayout(QWidget* box) {
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

template <std::size_t N>
std::string textOfField(const model::FixedText<N>& field) {
    return std::string(model::textOf(field));
}

}  // namespace

DishwashEditor::DishwashEditor(model::CQeltoDoc& doc, const platform::LanguageCatalog& texts,
                               QWidget* parent)
    : QWidget(parent), doc_(doc), texts_(texts) {
    // The boxes need more height than a laptop's window gives; they scroll rather than forcing
    // the whole window taller than the screen.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->addWidget(buildUnit(), 0, 0);
    grid->addWidget(buildInitialCharge(), 0, 1);
    grid->addWidget(buildProbe(), 0, 2);
    grid->addWidget(buildPumps(), 1, 0, 1, 2);
    grid->addWidget(buildProportional(), 1, 2);
    grid->addWidget(buildOutputs(), 2, 0, 1, 2);
    grid->addWidget(buildCarried(), 2, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
    scroll->setWidget(content);
    reload();

    // Each field writes only its own bytes, so a value a file holds beyond a box's range stays
    // as it was until the engineer edits that very field.
    for (const ByteBinding& binding : bytes_) {
        connect(binding.box, &QSpinBox::valueChanged, this, [this, field = binding.field](int v) {
            edit([&](Data& d) { return assign(field(d), static_cast<std::uint8_t>(v)); });
        });
    }
    for (const auto& [box, field] : flags_) {
        connect(box, &QCheckBox::toggled, this, [this, field = field](bool on) {
            edit([&](Data& d) { return assign(field(d), static_cast<std::uint8_t>(on ? 1 : 0)); });
        });
    }
    for (std::size_t i = 0; i < pins_.size(); ++i) {
        connect(pins_[i], &QSpinBox::valueChanged, this, [this, i](int v) {
            edit([&](Data& d) { return assign(d.DW_Pin[i], static_cast<std::uint16_t>(v)); });
        });
    }
    connect(unitType_, &QComboBox::currentIndexChanged, this, [this] {
        edit([&](Data& d) {
            return assign(d.DW_UnitType,
                          static_cast<std::uint8_t>(unitType_->currentData().toUInt()));
        });
    });
    connect(serialNumber_, &QLineEdit::textChanged, this, [this](const QString& text) {
        edit([&](Data& d) {
            model::FixedText<9> typed{};
            model::setText(typed, forms::toRecordText(text));
            return assign(d.DW_SerialNo, typed);
        });
    });
    connect(text_, &QLineEdit::textChanged, this, [this](const QString& text) {
        edit([&](Data& d) { return assign(d.DW_Text, forms::toRecordText(text)); });
    });
}

bool DishwashEditor::documentAsksForDishwash(const model::CQeltoDoc& doc) {
    return model::isDishwashView(doc.viewToShow());
}

void DishwashEditor::showEvent(QShowEvent* event) {
    doc_.setActiveView(model::kDishwashEditorView);
    QWidget::showEvent(event);
}

void DishwashEditor::hideEvent(QHideEvent* event) {
    // A minimised window hides its views too; only the shell switching away counts.
    if (!event->spontaneous()) {
        doc_.setActiveView(0);
    }
    QWidget::hideEvent(event);
}

QSpinBox* DishwashEditor::byteBox(int min, int max, ByteField field) {
    QSpinBox* box = forms::numberBox(min, max, this);
    bytes_.push_back({box, std::move(field)});
    return box;
}

QCheckBox* DishwashEditor::flagBox(int textId, ByteField field) {
    auto* box = new QCheckBox(catalogText(texts_, textId), this);
    flags_.emplace_back(box, std::move(field));
    return box;
}

QWidget* DishwashEditor::minSec(int maxMinutes, int maxSeconds,
                                std::function<model::MinSec&(Data&)> time) {
    QSpinBox* minutes =
        byteBox(0, maxMinutes, [time](Data& d) -> std::uint8_t& { return time(d).minutes; });
    QSpinBox* seconds =
        byteBox(0, maxSeconds, [time](Data& d) -> std::uint8_t& { return time(d).seconds; });
    return forms::minSecPair(minutes, seconds, this);
}

QWidget* DishwashEditor::buildUnit() {
    auto* box = new QGroupBox(catalogText(texts_, kTextUnitGroup), this);
    auto* form = formLayout(box);
    unitType_ = new QComboBox(box);
    for (std::uint8_t code = 0; code < model::kUnitModelCount; ++code) {
        unitType_->addItem(QString::fromStdString(model::unitModelName(code)), code);
    }
    serialNumber_ = new QLineEdit(box);
    serialNumber_->setObjectName(QStringLiteral("serialNumber"));
    serialNumber_->setMaxLength(kSerialDigits);
    serialNumber_->setMinimumWidth(
        serialNumber_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    serialNumber_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,8}")), serialNumber_));
    form->addRow(catalogText(texts_, kTextUnitType), unitType_);
    form->addRow(catalogText(texts_, kTextUnitMode),
                 byteBox(0, kMaxUnitMode, [](Data& d) -> std::uint8_t& { return d.DW_UnitMode; }));
    form->addRow(catalogText(texts_, kTextNumPumps),
                 byteBox(0, kMaxPumps, [](Data& d) -> std::uint8_t& { return d.DW_NumPumps; }));
    form->addRow(catalogText(texts_, kTextSerialNumber), serialNumber_);
    for (std::size_t i = 0; i < pins_.size(); ++i) {
        pins_[i] = forms::numberBox(0, 9999, box);
        form->addRow(catalogText(texts_, kTextPin1 + static_cast<int>(i)), pins_[i]);
    }
    return box;
}

QWidget* DishwashEditor::buildInitialCharge() {
    auto* box = new QGroupBox(catalogText(texts_, kTextICGroup), this);
    auto* form = formLayout(box);
    form->addRow(catalogText(texts_, kTextMode),
                 byteBox(0, kMaxICMode, [](Data& d) -> std::uint8_t& { return d.DW_ICmode; }));
    form->addRow(
        catalogText(texts_, kTextRunTime),
        minSec(kMaxMinutes, kMaxSeconds, [](Data& d) -> model::MinSec& { return d.DW_ICRunTime; }));
    form->addRow(catalogText(texts_, kTextDelayTime),
                 minSec(kMaxMinutes, kMaxSeconds,
                        [](Data& d) -> model::MinSec& { return d.DW_ICDelayTime; }));
    form->addRow(
        catalogText(texts_, kTextPulseCount),
        byteBox(0, kMaxPulses, [](Data& d) -> std::uint8_t& { return d.DW_ICPulseCount; }));
    return box;
}

QWidget* DishwashEditor::buildProbe() {
    auto* box = new QGroupBox(catalogText(texts_, kTextProbeGroup), this);
    auto* form = formLayout(box);
    form->addRow(
        catalogText(texts_, kTextMode),
        byteBox(0, kMaxProbeMode, [](Data& d) -> std::uint8_t& { return d.DW_ProbeMode; }));
    form->addRow(catalogText(texts_, kTextInitialDelay),
                 minSec(kMaxMinutes, kMaxSeconds,
                        [](Data& d) -> model::MinSec& { return d.DW_ProbeInitialDelay; }));
    form->addRow(
        catalogText(texts_, kTextConcentration),
        byteBox(0, kMaxByte, [](Data& d) -> std::uint8_t& { return d.DW_ProbeConcentration; }));
    form->addRow(catalogText(texts_, kTextAlarmDelay),
                 minSec(kMaxMinutes, kMaxSeconds,
                        [](Data& d) -> model::MinSec& { return d.DW_ProbeAlarmDelay; }));
    form->addRow(QString(), flagBox(kTextAlarmOff,
                                    [](Data& d) -> std::uint8_t& { return d.DW_ProbeAlarmOff; }));
    return box;
}

QWidget* DishwashEditor::buildPumps() {
    auto* box = new QGroupBox(catalogText(texts_, kTextPumpsGroup), this);
    auto* grid = new QGridLayout(box);
    int column = 1;
    for (int header : {kTextPumpSpeed, kTextPumpRun, kTextPumpOff, kTextPumpPulses}) {
        grid->addWidget(new QLabel(catalogText(texts_, header), box), 0, column++);
    }
    for (std::size_t p = 0; p < 3; ++p) {
        const int row = static_cast<int>(p) + 1;
        grid->addWidget(
            new QLabel(catalogText(texts_, kTextPump) + QStringLiteral(" %1").arg(row), box), row,
            0);
        QSpinBox* speed =
            byteBox(0, kMaxPercent, [p](Data& d) -> std::uint8_t& { return d.DW_PumpSpeed[p]; });
        speed->setObjectName(QStringLiteral("pumpSpeed%1").arg(row));
        grid->addWidget(speed, row, 1);
        grid->addWidget(minSec(kMaxMinutes, kMaxSeconds,
                               [p](Data& d) -> model::MinSec& { return d.DW_PumpRunTime[p]; }),
                        row, 2);
        grid->addWidget(minSec(kMaxMinutes, kMaxSeconds,
                               [p](Data& d) -> model::MinSec& { return d.DW_PumpOffTime[p]; }),
                        row, 3);
        grid->addWidget(
            byteBox(0, kMaxPulses, [p](Data& d) -> std::uint8_t& { return d.DW_PumpPulse[p]; }),
            row, 4);
    }
    return box;
}

QWidget* DishwashEditor::buildOutputs() {
    auto* box = new QGroupBox(catalogText(texts_, kTextOutputsGroup), this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(
        flagBox(kTextOutputsOn, [](Data& d) -> std::uint8_t& { return d.DW_IOCheckbox; }), 0, 0, 1,
        4);
    int column = 1;
    for (int header : {kTextOutputPercent, kTextOutputStart, kTextOutputDuration}) {
        grid->addWidget(new QLabel(catalogText(texts_, header), box), 1, column++);
    }
    for (std::size_t o = 0; o < 4; ++o) {
        const int row = static_cast<int>(o) + 2;
        grid->addWidget(
            new QLabel(catalogText(texts_, kTextOutput) + QStringLiteral(" %1").arg(o + 1), box),
            row, 0);
        grid->addWidget(
            byteBox(0, kMaxPercent, [o](Data& d) -> std::uint8_t& { return d.DW_IOPercent[o]; }),
            row, 1);
        // An output keeps its first number in the third byte and its second in the first.
        QSpinBox* startHour =
            byteBox(0, kMaxHour, [o](Data& d) -> std::uint8_t& { return d.DW_IOTime[o].third; });
        QSpinBox* startMinute = byteBox(
            0, kMaxSeconds, [o](Data& d) -> std::uint8_t& { return d.DW_IOTime[o].minutes; });
        startHour->setObjectName(QStringLiteral("outputStartFirst%1").arg(o + 1));
        startMinute->setObjectName(QStringLiteral("outputStartSecond%1").arg(o + 1));
        grid->addWidget(forms::minSecPair(startHour, startMinute, box), row, 2);
        QSpinBox* durationFirst = byteBox(
            0, kMaxMinutes, [o](Data& d) -> std::uint8_t& { return d.DW_IODuration[o].third; });
        QSpinBox* durationSecond = byteBox(
            0, kMaxSeconds, [o](Data& d) -> std::uint8_t& { return d.DW_IODuration[o].minutes; });
        grid->addWidget(forms::minSecPair(durationFirst, durationSecond, box), row, 3);
    }
    return box;
}

QWidget* DishwashEditor::buildProportional() {
    auto* box = new QGroupBox(catalogText(texts_, kTextPropGroup), this);
    auto* form = formLayout(box);
    form->addRow(catalogText(texts_, kTextPropTo),
                 byteBox(0, kMaxByte, [](Data& d) -> std::uint8_t& { return d.DW_PropTo; }));
    form->addRow(catalogText(texts_, kTextPropRunning),
                 byteBox(0, kMaxByte, [](Data& d) -> std::uint8_t& { return d.DW_PropRunning; }));
    return box;
}

QWidget* DishwashEditor::buildCarried() {
    auto* box = new QGroupBox(catalogText(texts_, kTextCarriedGroup), this);
    auto* form = formLayout(box);
    text_ = new QLineEdit(box);
    text_->setMaxLength(kMaxStoredText);
    form->addRow(catalogText(texts_, kTextStoredText), text_);
    form->addRow(catalogText(texts_, kTextByte4),
                 byteBox(0, kMaxByte, [](Data& d) -> std::uint8_t& { return d.DW_Flag4; }));
    form->addRow(catalogText(texts_, kTextByte69),
                 byteBox(0, kMaxByte, [](Data& d) -> std::uint8_t& { return d.DW_Byte69; }));
    form->addRow(catalogText(texts_, kTextByte88),
                 byteBox(0, kMaxByte, [](Data& d) -> std::uint8_t& { return d.DW_Flag88; }));
    return box;
}

void DishwashEditor::reload() {
    Data& record = doc_.dishwash();
    loading_ = true;
    for (const ByteBinding& binding : bytes_) {
        // A value beyond the box's range shows as its nearest; the record keeps its own.
        binding.box->setValue(binding.field(record));
    }
    for (const auto& [box, field] : flags_) {
        box->setChecked(field(record) != 0);
    }
    for (std::size_t i = 0; i < pins_.size(); ++i) {
        pins_[i]->setValue(record.DW_Pin[i]);
    }
    int typeRow = unitType_->findData(record.DW_UnitType);
    if (typeRow < 0) {
        unitType_->addItem(QString::fromStdString(model::unitModelName(record.DW_UnitType)),
                           record.DW_UnitType);
        typeRow = unitType_->count() - 1;
    }
    unitType_->setCurrentIndex(typeRow);
    serialNumber_->setText(forms::fromRecordText(textOfField(record.DW_SerialNo)));
    text_->setText(forms::fromRecordText(record.DW_Text));
    loading_ = false;
}

void DishwashEditor::edit(const std::function<bool(model::CDishWashViewData&)>& change) {
    // A box that puts back its previous value after a refused entry says so as a change too.
    if (loading_ || !change(doc_.dishwash())) {
        return;
    }
    doc_.setModifiedFlag();
    Q_EMIT documentModified();
}

}  // namespace qelto::app
