// A time as the record keeps it: minutes 0..99 and seconds 0..59 side by side.
#pragma once

#include <QSpinBox>
#include <QWidget>

#include "model/min_sec.h"

namespace qelto::app {

class TimeEdit final : public QWidget {
    Q_OBJECT

  public:
    TimeEdit(const QString& minutesSuffix, const QString& secondsSuffix, QWidget* parent = nullptr);

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
