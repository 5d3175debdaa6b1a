#include "app/comms/gui_operator_prompts.h"

#include <QMetaObject>
#include <utility>

#include "app/comms/comms_texts.h"
#include "app/shell/shell_texts.h"
#include "model/unit_types.h"

namespace qelto::app {

GuiOperatorPrompts::GuiOperatorPrompts(const platform::LanguageCatalog& texts,
                                       CommsAnswers& answers, QWidget* owner,
                                       OperationDisplay& display, ReportOptions reportOptions)
    : texts_(texts),
      answers_(answers),
      owner_(owner),
      display_(display),
      reportOptions_(std::move(reportOptions)) {}

void GuiOperatorPrompts::post(std::function<void(OperationDisplay&)> show) {
    if (QWidget* owner = owner_.data()) {
        OperationDisplay* display = &display_;
        QMetaObject::invokeMethod(
            owner, [display, show = std::move(show)] { show(*display); }, Qt::QueuedConnection);
    }
}

QString GuiOperatorPrompts::caption(int captionId) const {
    return captionId != 0 ? uiText(texts_, captionId) : QStringLiteral("Qelto");
}

std::optional<std::uint16_t> GuiOperatorPrompts::askPin() {
    if (offeredPin_) {
        lastPin_ = std::exchange(offeredPin_, std::nullopt);
        return lastPin_;
    }
    lastPin_ = ask<std::optional<std::uint16_t>>(
        std::nullopt, [this](QWidget* parent) { return answers_.askPin(parent); });
    return lastPin_;
}

std::optional<std::int16_t> GuiOperatorPrompts::askPassword() {
    return ask<std::optional<std::int16_t>>(
        std::nullopt, [this](QWidget* parent) { return answers_.askPassword(parent); });
}

std::optional<comms::Options> GuiOperatorPrompts::askOptions(comms::OptionsKind kind,
                                                             const comms::Options& preset) {
    return ask<std::optional<comms::Options>>(
        std::nullopt, [&](QWidget* parent) { return answers_.askOptions(parent, kind, preset); });
}

std::optional<comms::ReportRequest> GuiOperatorPrompts::askReportOptions() {
    if (!reportOptions_) {
        return std::nullopt;
    }
    return ask<std::optional<comms::ReportRequest>>(
        std::nullopt, [this](QWidget* parent) { return reportOptions_(parent); });
}

std::optional<int> GuiOperatorPrompts::askCalibrationChoice(
    const comms::CalibrationComparison& comparison) {
    return ask<std::optional<int>>(std::nullopt, [&](QWidget* parent) {
        return answers_.askCalibrationChoice(parent, comparison);
    });
}

bool GuiOperatorPrompts::askYesNo(const comms::Question& question) {
    const QString title =
        question.caption.empty() ? caption(0) : QString::fromStdString(question.caption);
    return ask<bool>(false, [&](QWidget* parent) {
        return answers_.askYesNo(parent, QString::fromStdString(question.text), title);
    });
}

bool GuiOperatorPrompts::askChangeUnitType(const comms::UnitTypeChange& change) {
    const QString text = uiText(texts_, commstext::kAskChangeUnitType)
                             .arg(QString::fromStdString(model::unitModelName(change.documentType)))
                             .arg(model::unitPumpCount(change.documentType))
                             .arg(QString::fromStdString(model::unitModelName(change.unitType)))
                             .arg(model::unitPumpCount(change.unitType));
    return ask<bool>(false,
                     [&](QWidget* parent) { return answers_.askYesNo(parent, text, caption(0)); });
}

void GuiOperatorPrompts::note(const std::string& text) {
    notes_ += QStringLiteral("\n\n") + QString::fromStdString(text);
}

void GuiOperatorPrompts::status(const std::string& text) {
    post([text = QString::fromStdString(text)](OperationDisplay& display) {
        display.showStatus(text);
    });
}

void GuiOperatorPrompts::progressRange(int steps) {
    post([steps](OperationDisplay& display) { display.showProgressRange(steps); });
}

void GuiOperatorPrompts::progressStep() {
    post([](OperationDisplay& display) { display.stepProgress(); });
}

void GuiOperatorPrompts::progressHide() {
    post([](OperationDisplay& display) { display.hideProgress(); });
}

void GuiOperatorPrompts::message(int textId, comms::MessageIcon icon, int captionId) {
    const QString text = uiText(texts_, textId) + std::exchange(notes_, QString());
    ask<bool>(false, [&](QWidget* parent) {
        answers_.message(parent, text, icon, caption(captionId));
        return true;
    });
}

void GuiOperatorPrompts::messageText(const std::string& text, comms::MessageIcon icon) {
    ask<bool>(false, [&](QWidget* parent) {
        answers_.message(parent, QString::fromStdString(text), icon, caption(0));
        return true;
    });
}

}  // namespace qelto::app
