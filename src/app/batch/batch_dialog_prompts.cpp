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

void MessageBoxBatchPrompts::error(const std::string& text) {
    QMessageBox::critical(owner(), caption({}), QString::fromStdString(text));
}

bool MessageBoxBatchPrompts::askYesNo(const std::string& text, const std::string& title) {
    return QMessageBox::question(owner(), caption(title), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool MessageBoxBatchPrompts::askOkCancel(const std::string& text) {
    return QMessageBox::question(owner(), caption({}), QString::fromStdString(text),
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
