#include "app/calibration/pump_calibrate_page.h"

#include <QDateTime>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <ctime>

#include "app/calibration/sheet_texts.h"
#include "comms/calibration_session.h"

namespace qelto::app {

namespace t = calibration_text;
using comms::kCalibrationPumps;

namespace {

QString timeText(const QDateTime& time) {
    // The long form the run has always shown: "Monday, December 07, 2026 14:03:09".
    const std::time_t seconds = static_cast<std::time_t>(time.toSecsSinceEpoch());
    std::tm local{};
    localtime_r(&seconds, &local);
    char buffer[96];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%A, %B %d, %Y %H:%M:%S", &local);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(n));
}

}  // namespace

PumpCalibratePage::PumpCalibratePage(const Setup& setup, QWidget* parent)
    : QWidget(parent),
      doc_(setup.doc),
      texts_(setup.texts),
      american_(setup.american),
      unit_(setup.unit),
      worker_(setup.worker),
      prompts_(setup.prompts) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(text(t::kPumpColumn)), 0, 0);
    grid->addWidget(new QLabel(text(t::kSpeedColumn)), 0, 1);
    grid->addWidget(
        new QLabel(QStringLiteral("%1 (%2)").arg(text(t::kFlowColumn), text(t::kFlowUnit))), 0, 2);
    for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
        const int row = static_cast<int>(i) + 1;
        const QString number = QString::number(row);
        grid->addWidget(new QLabel(number), row, 0, Qt::AlignRight);
        speeds_[i] = new QLineEdit;
        speeds_[i]->setObjectName(QStringLiteral("speed") + number);
        speeds_[i]->setValidator(new QIntValidator(0, 999, speeds_[i]));
        speeds_[i]->setMaximumWidth(70);
        speeds_[i]->installEventFilter(this);
        flows_[i] = new QLineEdit;
        flows_[i]->setObjectName(QStringLiteral("calibration") + number);
        flows_[i]->setMaximumWidth(110);
        flows_[i]->installEventFilter(this);
        runs_[i] = new QPushButton(text(t::kRunButton));
        runs_[i]->setObjectName(QStringLiteral("run") + number);
        connect(runs_[i], &QPushButton::clicked, this, [this, row] { startRun(row); });
        grid->addWidget(speeds_[i], row, 1);
        grid->addWidget(flows_[i], row, 2);
        grid->addWidget(runs_[i], row, 3);
    }

    auto* buttons = new QVBoxLayout;
    const auto addButton = [&](QPushButton*& button, int textId, const char* name, auto slot) {
        button = new QPushButton(text(textId));
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    };
    addButton(read_, t::kReadButton, "read", &PumpCalibratePage::readFromUnit);
    addButton(write_, t::kWriteButton, "write", &PumpCalibratePage::writeToUnit);
    addButton(load_, t::kLoadButton, "load", &PumpCalibratePage::loadFromRecord);
    addButton(save_, t::kSaveButton, "save", &PumpCalibratePage::saveToRecord);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(grid);
    top->addSpacing(16);
    top->addLayout(buttons);

    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, comms::kPumpRunBarSteps);
    progress_->setTextVisible(false);
    runStatus_ = new QLabel;
    runStatus_->setObjectName(QStringLiteral("runStatus"));
    runStatus_->setWordWrap(true);
    stop_ = new QPushButton(text(t::kStopButton));
    stop_->setObjectName(QStringLiteral("stop"));
    connect(stop_, &QPushButton::clicked, this, &PumpCalibratePage::stopRun);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(progress_, 1);
    runRow->addWidget(stop_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(runRow);
    layout->addWidget(runStatus_);
    layout->addStretch();
    progress_->hide();
    stop_->hide();
    runStatus_->hide();

    runTimer_.setInterval(comms::kPumpRunTick);
    connect(&runTimer_, &QTimer::timeout, this, &PumpCalibratePage::runTick);
    connect(&worker_, &WorkerThread::busyChanged, this, &PumpCalibratePage::updateEnabling);
    showValues();
}

QString PumpCalibratePage::text(int id) const {
    return QString::fromStdString(texts_.text(id));
}

void PumpCalibratePage::showResult(const comms::CalibrationResult& result) {
    if (result.cancelled || result.message == 0) {
        return;
    }
    QString message = text(result.message);
    if (result.pump != 0) {
        message = message.arg(result.pump);
    }
    const QString caption = text(result.caption != 0 ? result.caption : t::kSheetTitle);
    prompts_.message(message, caption, result.icon);
}

void PumpCalibratePage::setPage(const comms::CalibrationPage& page) {
    page_ = page;
    showValues();
}

bool PumpCalibratePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
            if (watched == speeds_[i]) {
                speedLeft(i);
            } else if (watched == flows_[i]) {
                flowLeft(i);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PumpCalibratePage::speedLeft(std::size_t pump) {
    bool ok = false;
    const std::uint32_t typed = speeds_[pump]->text().toUInt(&ok);
    const std::uint32_t previous = page_.speed[pump];
    if (ok) {
        const std::uint32_t rounded = comms::roundSpeed(typed);
        // Only a changed speed is confirmed; the question itself takes the focus, so the field
        // is redisplayed whatever the answer before anything else can happen to it.
        if (rounded != previous &&
            (!confirmSpeed_ ||
             prompts_.askOkCancel({text(comms::kAskRoundedSpeed).arg(rounded).toStdString(),
                                   text(t::kSheetTitle).toStdString(), comms::kAskRoundedSpeed,
                                   t::kSheetTitle}))) {
            page_.speed[pump] = rounded;
        }
    }
    speeds_[pump]->setText(QString::number(page_.speed[pump]));
    updateEnabling();
}

void PumpCalibratePage::flowLeft(std::size_t pump) {
    const auto value = comms::parseCalibrationText(flows_[pump]->text().toStdString(), american_);
    if (value) {
        page_.calibration[pump] = *value;
    }
    flows_[pump]->setText(
        QString::fromStdString(comms::calibrationText(page_.calibration[pump], american_))
            .trimmed());
}

void PumpCalibratePage::takeInFields() {
    for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
        bool ok = false;
        const std::uint32_t speed = speeds_[i]->text().toUInt(&ok);
        if (ok) {
            page_.speed[i] = speed;
        }
        if (const auto flow =
                comms::parseCalibrationText(flows_[i]->text().toStdString(), american_)) {
            page_.calibration[i] = *flow;
        }
    }
}

void PumpCalibratePage::showValues() {
    for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
        speeds_[i]->setText(QString::number(page_.speed[i]));
        flows_[i]->setText(
            QString::fromStdString(comms::calibrationText(page_.calibration[i], american_))
                .trimmed());
    }
    updateEnabling();
}

void PumpCalibratePage::updateEnabling() {
    const bool idle = !running_ && !worker_.busy();
    for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
        speeds_[i]->setEnabled(page_.speedEditable(i));
        flows_[i]->setEnabled(i < page_.pumpCount);
        runs_[i]->setEnabled(unit_ != nullptr && idle && page_.runnable(i));
    }
    read_->setEnabled(unit_ != nullptr && idle);
    write_->setEnabled(unit_ != nullptr && idle);
    load_->setEnabled(idle);
    save_->setEnabled(idle);
}

void PumpCalibratePage::readFromUnit() {
    if (unit_ == nullptr || worker_.busy()) {
        return;
    }
    if (QWidget* focus = focusWidget()) {
        focus->clearFocus();
    }
    comms::CalibrationSession* unit = unit_;
    auto read = std::make_shared<comms::CalibrationPage>(page_);
    worker_.start([unit, read] { return unit->readFromUnit(*read); },
                  [this, read](const comms::CalibrationResult& result) {
                      if (result.ok) {
                          setPage(*read);
                      }
                      showResult(result);
                  });
}

void PumpCalibratePage::writeToUnit() {
    if (unit_ == nullptr || worker_.busy()) {
        return;
    }
    if (QWidget* focus = focusWidget()) {
        focus->clearFocus();
    }
    takeInFields();
    comms::CalibrationSession* unit = unit_;
    const comms::CalibrationPage sent = page_;
    worker_.start([unit, sent] { return unit->writeToUnit(sent); },
                  [this](const comms::CalibrationResult& result) {
                      showResult(result);
                      showValues();
                  });
}

void PumpCalibratePage::loadFromRecord() {
    comms::loadFromRecord(page_, doc_.config());
    showValues();
}

void PumpCalibratePage::saveToRecord() {
    if (QWidget* focus = focusWidget()) {
        focus->clearFocus();
    }
    takeInFields();
    if (const auto problem = comms::checkPage(page_)) {
        comms::CalibrationResult refused;
        refused.message = problem->textId;
        refused.pump = problem->pump;
        refused.icon = comms::MessageIcon::Warning;
        showResult(refused);
        return;
    }
    comms::saveToRecord(page_, doc_.config());
    doc_.setModifiedFlag();
    doc_.notifyViews(model::DocHint::Opened);
    showValues();
}

void PumpCalibratePage::startRun(int pump) {
    if (unit_ == nullptr || running_ || worker_.busy()) {
        return;
    }
    takeInFields();
    comms::CalibrationResult refused;
    refused.icon = comms::MessageIcon::Warning;
    if (pump < 1 || pump > static_cast<int>(kCalibrationPumps)) {
        refused.message = comms::kMsgNoPumpChosen;
        refused.caption = comms::kMsgNoPumpChosenCaption;
    } else if (page_.speed[static_cast<std::size_t>(pump - 1)] < comms::kMinRunSpeed) {
        refused.message = comms::kMsgSpeedTooLowToRun;
        refused.caption = comms::kMsgSpeedTooLowCaption;
    }
    if (refused.message != 0) {
        showResult(refused);
        return;
    }
    if (!prompts_.askOkCancel({text(comms::kAskStartRun).toStdString(),
                               text(t::kSheetTitle).toStdString(), comms::kAskStartRun,
                               t::kSheetTitle})) {
        return;
    }
    comms::CalibrationSession* unit = unit_;
    const comms::CalibrationPage page = page_;
    worker_.start([unit, page, pump] { return unit->startRun(page, pump); },
                  [this](const comms::CalibrationResult& result) {
                      if (!result.ok) {
                          showResult(result);
                          return;
                      }
                      const QDateTime start = QDateTime::currentDateTime();
                      const QDateTime end = start.addMSecs(runLength_.count());
                      running_ = true;
                      runClock_.start();
                      progress_->setValue(0);
                      runStatus_->setText(text(comms::kStatusPumpRunning) + QLatin1Char('\n') +
                                          text(t::kRunTimes).arg(timeText(start), timeText(end)));
                      progress_->show();
                      runStatus_->show();
                      stop_->show();
                      runTimer_.start();
                      updateEnabling();
                      Q_EMIT runningChanged(true);
                  });
}

void PumpCalibratePage::runTick() {
    progress_->setValue(std::min(progress_->value() + 1, comms::kPumpRunBarSteps));
    if (runClock_.elapsed() >= runLength_.count()) {
        // The unit stops the pump itself at the end of its run; nothing more is sent.
        endRun();
    }
}

void PumpCalibratePage::stopRun() {
    if (!running_) {
        return;
    }
    endRun();
    comms::CalibrationSession* unit = unit_;
    worker_.start([unit] { return unit->stopRun(); },
                  [this](const comms::CalibrationResult& result) { showResult(result); });
}

void PumpCalibratePage::endRun() {
    runTimer_.stop();
    running_ = false;
    progress_->hide();
    runStatus_->hide();
    stop_->hide();
    updateEnabling();
    Q_EMIT runningChanged(false);
}

}  // namespace qelto::app
