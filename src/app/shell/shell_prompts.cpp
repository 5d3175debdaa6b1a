#include "app/shell/shell_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace qelto::app {

namespace {
QString caption() {
    return QApplication::applicationDisplayName();
}
}  // namespace

void ShellPrompts::messageText(const std::string& text, comms::MessageIcon icon) {
    QWidget* parent = QApplication::activeWindow();
    if (icon == comms::MessageIcon::Information) {
        inform(parent, QString::fromStdString(text));
    } else {
        warn(parent, QString::fromStdString(text));
    }
}

bool DialogPrompts::askYesNo(const comms::Question& question) {
    return QMessageBox::question(
               QApplication::activeWindow(),
               question.caption.empty() ? caption() : QString::fromStdString(question.caption),
               QString::fromStdString(question.text),
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer DialogPrompts::askYesNoCancel(QWidget* parent, const QString& message) {
    switch (QMessageBox::question(parent, caption(), message,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

void DialogPrompts::inform(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, caption(), message);
}

void DialogPrompts::warn(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, caption(), message);
}

QString DialogPrompts::chooseOpenFile(QWidget* parent, const QString& title,
                                      const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString DialogPrompts::chooseSaveFile(QWidget* parent, const QString& title,
                                      const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

}  // namespace qelto::app
