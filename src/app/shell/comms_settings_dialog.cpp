#include "app/shell/comms_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/shell/shell_texts.h"

namespace qelto::app {

CommsSettingsDialog::CommsSettingsDialog(const platform::LanguageCatalog& texts,
                                         const CommsSettings& current,
                                         const std::vector<std::string>& ports, QWidget* parent)
    : QDialog(parent),
      port_(new QComboBox),
      progressBars_(new QCheckBox(uiText(texts, text::kCommsProgressBars))),
      throttle_(new QSpinBox),
      commsLog_(new QCheckBox(uiText(texts, text::kCommsLog))) {
    setWindowTitle(uiText(texts, text::kCommsCaption));
    port_->setObjectName(QStringLiteral("port"));
    port_->setEditable(true);
    port_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& name : ports) {
        port_->addItem(QString::fromStdString(name));
    }
    const QString currentPort = QString::fromStdString(current.serPort);
    if (std::find(ports.begin(), ports.end(), current.serPort) == ports.end()) {
        port_->addItem(currentPort);
    }
    port_->setCurrentText(currentPort);
    port_->setMinimumContentsLength(18);

    progressBars_->setObjectName(QStringLiteral("progressBars"));
    progressBars_->setChecked(current.progressBars != 0);
    throttle_->setObjectName(QStringLiteral("throttle"));
    throttle_->setRange(0, kMaxThrottle);
    throttle_->setValue(std::clamp(current.usbSpeedThrottle, 0, kMaxThrottle));
    commsLog_->setObjectName(QStringLiteral("commsLog"));
    commsLog_->setChecked(current.commsLog);

    auto* form = new QFormLayout;
    form->addRow(uiText(texts, text::kCommsPort), port_);
    auto* hint = new QLabel(uiText(texts, text::kCommsPortHint));
    hint->setWordWrap(true);
    form->addRow(QString(), hint);
    form->addRow(uiText(texts, text::kCommsThrottle), throttle_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progressBars_);
    layout->addWidget(commsLog_);
    layout->addWidget(buttons);
    // Wide enough that a device name in the hint is not broken across lines.
    setMinimumWidth(600);
}

CommsSettings CommsSettingsDialog::values() const {
    CommsSettings values;
    values.serPort = port_->currentText().trimmed().toStdString();
    values.progressBars = progressBars_->isChecked() ? 1 : 0;
    values.usbSpeedThrottle = throttle_->value();
    values.commsLog = commsLog_->isChecked();
    return values;
}

}  // namespace qelto::app
