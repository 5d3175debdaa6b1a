// One trigger of one program: its pulse count and, per pump, whether the pump doses, its delay,
// and its run time (an uncalibrated pump) or its dose (a calibrated one).
#pragma once

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSpinBox>
#include <array>

#include "app/editor/detail_view.h"
#include "app/editor/time_edit.h"

namespace qelto::app {

class TriggerView final : public DetailView {
    Q_OBJECT

  public:
    TriggerView(EditorContext& context, QWidget* parent = nullptr);
    void refresh() override;

    QSpinBox* pulseCountBox() const { return pulseCount_; }
    QCheckBox* enabledBox(int pump) const { return rows_[static_cast<std::size_t>(pump)].enabled; }
    TimeEdit* delayEdit(int pump) const { return rows_[static_cast<std::size_t>(pump)].delay; }
    TimeEdit* runEdit(int pump) const { return rows_[static_cast<std::size_t>(pump)].run; }
    QDoubleSpinBox* doseBox(int pump) const { return rows_[static_cast<std::size_t>(pump)].dose; }

  private:
    struct Row {
        QLabel* label = nullptr;
        QCheckBox* enabled = nullptr;
        TimeEdit* delay = nullptr;
        TimeEdit* run = nullptr;
        QDoubleSpinBox* dose = nullptr;
    };
    model::PumpStep& step(std::size_t pump);
    void showDoseUnits();

    QLabel* title_;
    QSpinBox* pulseCount_;
    QLabel* doseHeader_;
    std::array<Row, model::kPumps> rows_{};
};

}  // namespace qelto::app
