#include "app/editor/pump_view.h"

#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/editor/editor_texts.h"
#include "app/editor/global_view.h"
#include "comms/pump_calibration.h"
#include "model/config_fields.h"

namespace qelto::app {

PumpView::PumpView(EditorContext& context, QWidget* parent) : DetailView(context, parent) {
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    layout->addWidget(title_);
    auto* form = new QFormLayout;
    // Fields keep their natural width rather than running across a wide window.
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    numberLabel_ = new QLabel(this);
    name_ = new QLineEdit(this);
    name_->setMinimumWidth(220);
    speed_ = new QSpinBox(this);
    const model::FieldInfo& speed = model::configField("pumpSpeed");
    speed_->setRange(static_cast<int>(speed.min), static_cast<int>(speed.max));
    speed_->setSuffix(QStringLiteral(" %"));
    range_ = new QComboBox(this);
    calibration_ = new QLabel(this);
    form->addRow(numberLabel_, name_);
    form->addRow(ctx_.text(text::kSpeed), speed_);
    form->addRow(ctx_.text(text::kSpeedRange), range_);
    form->addRow(ctx_.text(text::kCalibration), calibration_);
    layout->addLayout(form);
    layout->addStretch(1);

    connect(name_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        if (loading()) {
            return;
        }
        ctx_.config().pumpName[pump()] = toRecord(typed);
        markEdited();
        Q_EMIT pumpNameChanged(static_cast<int>(pump()));
    });
    connect(speed_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!loading()) {
            ctx_.config().pumpSpeed[pump()] = static_cast<std::uint8_t>(value);
            markEdited();
        }
    });
    connect(range_, &QComboBox::activated, this, [this](int index) {
        if (!loading()) {
            ctx_.config().pumpSpeedRange[pump()] = range_->itemData(index).toUInt();
            markEdited();
        }
    });
}

void PumpView::refresh() {
    const Loading guard(*this);
    const std::size_t i = pump();
    const model::CProgData& config = ctx_.config();
    const QString label = ctx_.text(text::kPump);
    const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
    title_->setText(QStringLiteral("<b>%1 %2</b>").arg(label, number));
    numberLabel_->setText(QStringLiteral("%1 %2:").arg(label, number));
    {
        const QSignalBlocker blockName(name_);
        name_->setText(fromRecord(config.pumpName[i]));
        const QSignalBlocker blockSpeed(speed_);
        speed_->setValue(config.pumpSpeed[i]);
    }
    fillSpeedRanges(range_, ctx_.controls.pumps[i].allSpeedRanges, config.pumpSpeedRange[i]);
    const bool editable = ctx_.controls.pumps[i].enabled;
    name_->setEnabled(editable);
    speed_->setEnabled(editable);
    range_->setEnabled(editable);
    // In American mode the record holds hundredths of a fluid ounce, as the calibration sheet
    // shows them.
    const QString flow =
        QString::fromStdString(comms::calibrationText(config.pumpCalibration[i], ctx_.american))
            .trimmed();
    calibration_->setText(config.pumpCalibration[i] == 0
                              ? ctx_.text(text::kNotCalibrated)
                              : QStringLiteral("%1 %2").arg(flow, ctx_.text(text::kMlPerMin)));
}

}  // namespace qelto::app
