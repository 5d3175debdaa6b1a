#include "app/editor/time_edit.h"

#include <QHBoxLayout>
#include <QSignalBlocker>

namespace qelto::app {

TimeEdit::TimeEdit(const model::FieldInfo& field, const QString& minutesSuffix,
                   const QString& secondsSuffix, QWidget* parent)
    : QWidget(parent), minutes_(new QSpinBox(this)), seconds_(new QSpinBox(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    minutes_->setRange(0, static_cast<int>(field.max / 60));
    seconds_->setRange(0, 59);
    minutes_->setSuffix(minutesSuffix);
    seconds_->setSuffix(secondsSuffix);
    layout->addWidget(minutes_);
    layout->addWidget(seconds_);
    auto announce = [this] { Q_EMIT changed(minutes_->value(), seconds_->value()); };
    connect(minutes_, &QSpinBox::valueChanged, this, announce);
    connect(seconds_, &QSpinBox::valueChanged, this, announce);
}

void TimeEdit::setTime(const model::MinSec& time) {
    const QSignalBlocker blockMinutes(minutes_);
    const QSignalBlocker blockSeconds(seconds_);
    minutes_->setValue(time.minutes);
    seconds_->setValue(time.seconds);
}

}  // namespace qelto::app
