// The unit-wide settings: model, PINs, access code, flush valve, reset delay, relay, safety
// stop, auto flush valve, reset-to, customer texts, pump speeds and names, and the unit clock.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <array>
#include <functional>

#include "app/editor/detail_view.h"
#include "app/editor/time_edit.h"

namespace qelto::app {

class GlobalView final : public DetailView {
    Q_OBJECT

  public:
    GlobalView(EditorContext& context, QWidget* parent = nullptr);
    void refresh() override;

    QComboBox* unitTypeBox() const { return unitType_; }
    QSpinBox* pinBox(int i) const { return pins_[static_cast<std::size_t>(i)]; }
    QSpinBox* accessCodeBox() const { return accessCode_; }
    QLineEdit* customerName1Edit() const { return customer1_; }
    QSpinBox* speedBox(int pump) const { return speeds_[static_cast<std::size_t>(pump)]; }
    QComboBox* rangeBox(int pump) const { return ranges_[static_cast<std::size_t>(pump)]; }
    QLineEdit* pumpNameEdit(int pump) const { return names_[static_cast<std::size_t>(pump)]; }
    TimeEdit* resetDelayEdit() const { return resetDelayTime_; }
    QPushButton* setClockButton() const { return setClock_; }
    // The get and set clock buttons talk to a unit through these; until then they stay off.
    void setClockCommands(const std::function<void()>& read, const std::function<void()>& set);

  private:
    QWidget* buildSettings();
    QWidget* buildCustomer();
    QWidget* buildPumps();
    QWidget* buildClock();
    void showPumpControls();
    void showAutoFlush();
    void showClock();
    void edit(const std::function<void()>& write);

    QComboBox* unitType_;
    std::array<QSpinBox*, 3> pins_{};
    QSpinBox* accessCode_;
    QComboBox* flushType_;
    TimeEdit* flushValveTime_;
    QComboBox* resetDelayOff_;
    QComboBox* resetDelayFrom_;
    TimeEdit* resetDelayTime_;
    QComboBox* relayMode_;
    QSpinBox* safetyStop_;
    QSpinBox* autoFlushMode_;
    QLabel* autoFlushLabel_;
    TimeEdit* autoFlushTime_;
    QSpinBox* autoFlushAccept_;
    QSpinBox* resetOption_;
    QSpinBox* resetProgram_;
    QCheckBox* optionA_;
    QCheckBox* optionB_;
    QLineEdit* customer1_;
    QLineEdit* customer2_;
    QLineEdit* description_;
    QLabel* serial_;
    std::array<QLineEdit*, model::kPumps> names_{};
    std::array<QSpinBox*, model::kPumps> speeds_{};
    std::array<QComboBox*, model::kPumps> ranges_{};
    std::array<QLabel*, model::kPumps> pumpLabels_{};
    QLabel* pcTime_;
    QLabel* unitTime_;
    QPushButton* readClock_;
    QPushButton* setClock_;
};

// Fills a speed-range selector with the ranges a pump may use, keeping a stored range that is no
// longer offered visible rather than losing it silently.
void fillSpeedRanges(QComboBox* box, bool allRanges, std::uint32_t stored);

}  // namespace qelto::app
