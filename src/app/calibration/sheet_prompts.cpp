#include "app/calibration/sheet_prompts.h"

#include <QMessageBox>

namespace qelto::app {
namespace {

bool asked(QWidget* parent, const comms::Question& question, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton yes) {
    return QMessageBox::question(parent, QString::fromStdString(question.caption),
                                 QString::fromStdString(question.text), buttons, yes) == yes;
}

}  // namespace

bool DialogSheetPrompts::askYesNo(const comms::Question& question) {
    return asked(parent_, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
}

bool DialogSheetPrompts::askOkCancel(const comms::Question& question) {
    return asked(parent_, question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
}

void DialogSheetPrompts::messageText(const std::string& text, comms::MessageIcon icon) {
    message(QString::fromStdString(text), parent_ ? parent_->windowTitle() : QString(), icon);
}

void DialogSheetPrompts::message(const QString& text, const QString& caption,
                                 comms::MessageIcon icon) {
    switch (icon) {
        case comms::MessageIcon::Information:
            QMessageBox::information(parent_, caption, text);
            break;
        case comms::MessageIcon::Warning:
            QMessageBox::warning(parent_, caption, text);
            break;
        case comms::MessageIcon::Error:
            QMessageBox::critical(parent_, caption, text);
            break;
    }
}

}  // namespace qelto::app
