#include "app/comms/operation_status_panel.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace qelto::app {
namespace {

QLabel* statusLabel(const char* name, QWidget* parent) {
    auto* line = new QLabel(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setWordWrap(true);
    line->setMinimumHeight(line->fontMetrics().height() + 4);
    return line;
}

}  // namespace

OperationStatusPanel::OperationStatusPanel(int lines, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    first_ = statusLabel("status", this);
    layout->addWidget(first_);
    if (lines > 1) {
        second_ = statusLabel("secondStatus", this);
        layout->addWidget(second_);
    }
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setTextVisible(false);
    QSizePolicy keep = progress_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keep);
    progress_->hide();
    layout->addWidget(progress_);
}

void OperationStatusPanel::showStatus(const QString& text) {
    first_->setText(text);
}

void OperationStatusPanel::showProgressRange(int steps) {
    progress_->setRange(0, steps);
    progress_->setValue(0);
    progress_->show();
}

void OperationStatusPanel::stepProgress() {
    if (progress_->value() < progress_->maximum()) {
        progress_->setValue(progress_->value() + 1);
    }
}

void OperationStatusPanel::hideProgress() {
    progress_->hide();
}

}  // namespace qelto::app
