#include <QInputDialog>
#include <QMessageBox>

#include "app/comms/calibration_choice_dialog.h"
#include "app/comms/comms_answers.h"
#include "app/comms/comms_texts.h"
#include "app/comms/differences_dialog.h"
#include "app/comms/options_dialog.h"
#include "app/shell/shell_texts.h"

namespace qelto::app {
namespace {

QMessageBox::Icon boxIcon(comms::MessageIcon icon) {
    switch (icon) {
        case comms::MessageIcon::Warning:
            return QMessageBox::Warning;
        case comms::MessageIcon::Error:
            return QMessageBox::Critical;
        case comms::MessageIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

}  // namespace

std::optional<std::uint16_t> DialogCommsAnswers::askPin(QWidget* parent) {
    bool ok = false;
    const int pin =
        QInputDialog::getInt(parent, uiText(texts_, commstext::kTextPinTitle),
                             uiText(texts_, commstext::kTextPinLabel), 0, 0, 65535, 1, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(pin);
}

std::optional<std::int16_t> DialogCommsAnswers::askPassword(QWidget* parent) {
    bool ok = false;
    // The units compare the password as a 16-bit word.
    const int value =
        QInputDialog::getInt(parent, uiText(texts_, commstext::kTextPasswordTitle),
                             uiText(texts_, commstext::kTextPasswordLabel), 0, 0, 65535, 1, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::optional<comms::Options> DialogCommsAnswers::askOptions(QWidget* parent,
                                                             comms::OptionsKind kind,
                                                             const comms::Options& preset) {
    OptionsDialog dialog(texts_, kind, preset, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.options();
}

std::optional<int> DialogCommsAnswers::askCalibrationChoice(
    QWidget* parent, const comms::CalibrationComparison& comparison) {
    CalibrationChoiceDialog dialog(texts_, comparison, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.choice();
}

bool DialogCommsAnswers::askYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void DialogCommsAnswers::message(QWidget* parent, const QString& text, comms::MessageIcon icon,
                                 const QString& caption) {
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void DialogCommsAnswers::showDifferences(QWidget* parent,
                                         const std::vector<comms::Difference>& differences) {
    DifferencesDialog dialog(texts_, differences, parent);
    dialog.exec();
}

}  // namespace qelto::app
