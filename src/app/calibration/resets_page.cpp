#include "app/calibration/resets_page.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/calibration/sheet_texts.h"

namespace qelto::app {

namespace t = calibration_text;

ResetsPage::ResetsPage(const platform::LanguageCatalog& texts, comms::CalibrationSession& unit,
                       WorkerThread& worker, SheetPrompts& prompts, QWidget* parent)
    : QWidget(parent), texts_(texts), unit_(unit), worker_(worker), prompts_(prompts) {
    washes_ = new QPushButton(text(t::kResetWashesButton));
    washes_->setObjectName(QStringLiteral("resetWashes"));
    counters_ = new QPushButton(text(t::kResetCountersButton));
    counters_->setObjectName(QStringLiteral("resetCounters"));
    resetAll_ = new QPushButton(text(t::kResetAllButton));
    resetAll_->setObjectName(QStringLiteral("resetAll"));
    auto* note = new QLabel(text(t::kResetsNote));
    note->setWordWrap(true);
    resetAllNote_ = note;
    connect(washes_, &QPushButton::clicked, this,
            [this] { run(&comms::CalibrationSession::resetWashes); });
    connect(counters_, &QPushButton::clicked, this,
            [this] { run(&comms::CalibrationSession::resetCounters); });
    connect(resetAll_, &QPushButton::clicked, this, [this] {
        prompts_.message(text(t::kNotAllowed), text(t::kSheetTitle),
                         comms::MessageIcon::Information);
    });
    connect(&worker_, &WorkerThread::busyChanged, this, &ResetsPage::updateEnabling);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(washes_);
    layout->addWidget(counters_);
    layout->addWidget(resetAll_);
    layout->addWidget(resetAllNote_);
    layout->addStretch();
    updateEnabling();
}

QString ResetsPage::text(int id) const {
    return QString::fromStdString(texts_.text(id));
}

void ResetsPage::showEvent(QShowEvent* event) {
    resetAll_->hide();
    resetAllNote_->hide();
    QWidget::showEvent(event);
}

void ResetsPage::setRunActive(bool active) {
    runActive_ = active;
    updateEnabling();
}

void ResetsPage::updateEnabling() {
    const bool idle = !worker_.busy() && !runActive_;
    washes_->setEnabled(idle);
    counters_->setEnabled(idle);
}

void ResetsPage::run(comms::CalibrationResult (comms::CalibrationSession::*reset)()) {
    comms::CalibrationSession* unit = &unit_;
    worker_.start([unit, reset] { return (unit->*reset)(); },
                  [this](const comms::CalibrationResult& result) {
                      if (result.cancelled || result.message == 0) {
                          return;
                      }
                      prompts_.message(text(result.message), text(t::kSheetTitle), result.icon);
                  });
}

}  // namespace qelto::app
