// One pump of the unit: its name, speed, speed range and calibration.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "app/editor/detail_view.h"

namespace qelto::app {

class PumpView final : public DetailView {
    Q_OBJECT

  public:
    PumpView(EditorContext& context, QWidget* parent = nullptr);
    void refresh() override;
    QLineEdit* nameEdit() const { return name_; }
    QSpinBox* speedBox() const { return speed_; }
    QComboBox* rangeBox() const { return range_; }

  private:
    std::size_t pump() const { return ctx_.selection.pump(); }

    QLabel* title_;
    QLabel* numberLabel_;
    QLineEdit* name_;
    QSpinBox* speed_;
    QComboBox* range_;
    QLabel* calibration_;
};

}  // namespace qelto::app
