// A time as the record keeps it: minutes and seconds side by side, within its field's range.
#pragma once

#include <QSpinBox>
#include <QWidget>

#include "model/config_fields.h"

namespace qelto::app {

class TimeEdit final : public QWidget {
    Q_OBJECT

  public:
    TimeEdit(const model::FieldInfo& field, const QString& minutesSuffix,
             const QString& secondsSuffix, QWidget* parent = nullptr);

    // Shows a time without announcing a change.
    void setTime(const model::MinSec& time);
    QSpinBox* minutesBox() const { return minutes_; }
    QSpinBox* secondsBox() const { return seconds_; }

  Q_SIGNALS:
    void changed(int minutes, int seconds);

  private:
    QSpinBox* minutes_;
    QSpinBox* seconds_;
};

}  // namespace qelto::app
