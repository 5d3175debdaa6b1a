#include "app/batch/batch_dialog_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace qelto::app {
namespace {

QString caption(const std::string& given) {
    return given.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(given);
}

}  // namespace

QWidget* MessageBoxBatchPrompts::owner() const {
    // Over the batch dialog that asks, not behind it.
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : parent_;
}

void MessageBoxBatchPrompts::warn(const std::string& text, comms::BatchField /*field*/) {
    QMessageBox::warning(owner(), caption({}), QString::fromStdString(text));
}

void MessageBoxBatchPrompts::messageText(const std::string& text, comms::MessageIcon icon) {
    QMessageBox(icon == comms::MessageIcon::Information ? QMessageBox::Information
                : icon == comms::MessageIcon::Warning   ? QMessageBox::Warning
                                                        : QMessageBox::Critical,
                caption({}), QString::fromStdString(text), QMessageBox::Ok, owner())
        .exec();
}

bool MessageBoxBatchPrompts::askYesNo(const comms::Question& question) {
    return QMessageBox::question(owner(), caption(question.caption),
                                 QString::fromStdString(question.text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool MessageBoxBatchPrompts::askOkCancel(const comms::Question& question) {
    return QMessageBox::question(owner(), caption(question.caption),
                                 QString::fromStdString(question.text),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

QString MessageBoxBatchPrompts::chooseFolder(QWidget* parent, const QString& title,
                                             const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start);
}

void MessageBoxBatchPrompts::beep() {
    QApplication::beep();
}

}  // namespace qelto::app
