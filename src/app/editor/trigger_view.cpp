#include "app/editor/trigger_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "app/editor/editor_texts.h"
#include "model/config_fields.h"

namespace qelto::app {
namespace {

// Doses are whole units in the record; American mode shows and takes them as hundredths.
constexpr double kMaxDose = model::configField("dose").max;

}  // namespace

TriggerView::TriggerView(EditorContext& context, QWidget* parent) : DetailView(context, parent) {
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    layout->addWidget(title_);
    auto* pulseRow = new QHBoxLayout;
    pulseRow->addWidget(new QLabel(ctx_.text(text::kPulseCount), this));
    pulseCount_ = new QSpinBox(this);
    const model::FieldInfo& pulses = model::configField("pulseCount");
    pulseCount_->setRange(static_cast<int>(pulses.min), static_cast<int>(pulses.max));
    pulseRow->addWidget(pulseCount_);
    pulseRow->addStretch(1);
    layout->addLayout(pulseRow);
    connect(pulseCount_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!loading()) {
            ctx_.config().currentPulseCount(ctx_.selection) = static_cast<std::uint8_t>(value);
            markEdited();
        }
    });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(ctx_.text(text::kEnabled), this), 0, 1);
    grid->addWidget(new QLabel(ctx_.text(text::kDelay), this), 0, 2);
    grid->addWidget(new QLabel(ctx_.text(text::kRunTime), this), 0, 3);
    doseHeader_ = new QLabel(this);
    grid->addWidget(doseHeader_, 0, 4);
    const QString min = ctx_.text(text::kMinutes);
    const QString sec = ctx_.text(text::kSeconds);
    for (std::size_t i = 0; i < model::kPumps; ++i) {
        Row& row = rows_[i];
        const int r = static_cast<int>(i) + 1;
        row.label = new QLabel(this);
        row.enabled = new QCheckBox(this);
        row.delay = new TimeEdit(model::configField("delayTime"), min, sec, this);
        row.run = new TimeEdit(model::configField("runTime"), min, sec, this);
        row.dose = new QDoubleSpinBox(this);
        grid->addWidget(row.label, r, 0);
        grid->addWidget(row.enabled, r, 1, Qt::AlignHCenter);
        grid->addWidget(row.delay, r, 2);
        grid->addWidget(row.run, r, 3);
        grid->addWidget(row.dose, r, 4);
        connect(row.enabled, &QCheckBox::toggled, this, [this, i](bool on) {
            if (loading()) {
                return;
            }
            ctx_.config().pumpEnabledAt(ctx_.selection.program(), ctx_.selection.trigger(),
                                        static_cast<std::uint8_t>(i)) = on ? 1 : 0;
            markEdited();
            Q_EMIT imagesChanged();
            refresh();
        });
        connect(row.delay, &TimeEdit::changed, this, [this, i](int m, int s) {
            if (!loading()) {
                model::MinSec& time = step(i).delayTime;
                time.minutes = static_cast<std::uint8_t>(m);
                time.seconds = static_cast<std::uint8_t>(s);
                markEdited();
            }
        });
        connect(row.run, &TimeEdit::changed, this, [this, i](int m, int s) {
            if (!loading()) {
                model::MinSec& time = step(i).runTime;
                time.minutes = static_cast<std::uint8_t>(m);
                time.seconds = static_cast<std::uint8_t>(s);
                markEdited();
            }
        });
        connect(row.dose, &QDoubleSpinBox::valueChanged, this, [this, i](double value) {
            if (!loading()) {
                const double whole = ctx_.american ? value * 100.0 : value;
                step(i).dose = static_cast<std::uint32_t>(std::lround(std::min(whole, kMaxDose)));
                markEdited();
            }
        });
    }
    grid->setColumnStretch(5, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
}

model::PumpStep& TriggerView::step(std::size_t pump) {
    return ctx_.config().Step(ctx_.selection.program(), ctx_.selection.trigger(),
                              static_cast<std::uint8_t>(pump));
}

void TriggerView::showDoseUnits() {
    doseHeader_->setText(ctx_.text(ctx_.american ? text::kDoseUs : text::kDose));
    for (Row& row : rows_) {
        const QSignalBlocker blocker(row.dose);
        if (ctx_.american) {
            row.dose->setDecimals(2);
            row.dose->setRange(0, kMaxDose / 100.0);
        } else {
            // Five characters at most.
            row.dose->setDecimals(0);
            row.dose->setRange(0, kMaxDose);
        }
    }
}

void TriggerView::refresh() {
    const Loading guard(*this);
    showDoseUnits();
    const model::Selection& at = ctx_.selection;
    model::CProgData& config = ctx_.config();
    title_->setText(QStringLiteral("<b>%1 %2 - %3 %4</b>")
                        .arg(ctx_.text(text::kProgram))
                        .arg(at.program() + 1, 2, 10, QLatin1Char('0'))
                        .arg(ctx_.text(text::kTrigger))
                        .arg(at.trigger() + 1));
    {
        const QSignalBlocker blocker(pulseCount_);
        pulseCount_->setValue(config.pulseCountAt(at.program(), at.trigger()));
    }
    const unsigned pumps = ctx_.pumpCount();
    for (std::size_t i = 0; i < model::kPumps; ++i) {
        Row& row = rows_[i];
        const bool shown = i < pumps;
        for (QWidget* widget : std::initializer_list<QWidget*>{row.label, row.enabled, row.delay,
                                                               row.run, row.dose}) {
            widget->setVisible(shown);
        }
        if (!shown) {
            continue;
        }
        const std::string& name = config.pumpName[i];
        QString label =
            QStringLiteral("%1 %2").arg(ctx_.text(text::kPump)).arg(i + 1, 2, 10, QLatin1Char('0'));
        if (!name.empty()) {
            label += QStringLiteral(": ") + fromRecord(name);
        }
        row.label->setText(label);
        const bool editable = ctx_.controls.pumps[i].enabled;
        const bool on =
            config.pumpEnabledAt(at.program(), at.trigger(), static_cast<std::uint8_t>(i)) != 0;
        {
            const QSignalBlocker blocker(row.enabled);
            row.enabled->setChecked(on);
        }
        row.enabled->setEnabled(editable);
        const model::PumpStep& s = step(i);
        row.delay->setTime(s.delayTime);
        row.run->setTime(s.runTime);
        {
            const QSignalBlocker blocker(row.dose);
            row.dose->setValue(ctx_.american ? s.dose / 100.0 : static_cast<double>(s.dose));
        }
        // A calibrated pump doses a volume; an uncalibrated one runs for a time.
        const bool calibrated = config.pumpCalibration[i] != 0;
        row.run->setVisible(!calibrated);
        row.dose->setVisible(calibrated);
        row.delay->setEnabled(editable);
        row.run->setEnabled(editable);
        row.dose->setEnabled(editable);
    }
}

}  // namespace qelto::app
