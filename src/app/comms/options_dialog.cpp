#include "app/comms/options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "app/comms/comms_texts.h"
#include "app/shell/shell_texts.h"

namespace qelto::app {
namespace {

// The flags in their order in comms::Options.
enum Flag {
    kPumpNames,
    kProgNames,
    kPumpCal,
    kPumpData,
    kComments,
    kAppendComments,
    kSerialNo,
    kSpare,
    kDescription,
};

bool* flagOf(comms::Options& options, int flag) {
    std::array<bool*, 9> flags{&options.bPumpNames, &options.bProgNames, &options.bPumpCal,
                               &options.bPumpData,  &options.bComments,  &options.bAppendComments,
                               &options.bSerialNo,  &options.bSpare,     &options.bDescription};
    return flags[static_cast<std::size_t>(flag)];
}

struct Shown {
    int flag;
    int textId;
};

// A verify compares neither the calibration on its own, nor serial numbers, nor appends.
std::vector<Shown> shownFlags(comms::OptionsKind kind) {
    using namespace commstext;
    switch (kind) {
        case comms::OptionsKind::Read:
            return {{kPumpData, kTextProgramData},   {kPumpCal, kTextPumpCalibration},
                    {kProgNames, kTextProgramNames}, {kPumpNames, kTextPumpNames},
                    {kComments, kTextComments},      {kAppendComments, kTextReadAppendComments},
                    {kSerialNo, kTextReadSerial},    {kDescription, kTextDescription}};
        case comms::OptionsKind::Write:
            return {{kPumpData, kTextProgramData},   {kPumpCal, kTextPumpCalibration},
                    {kProgNames, kTextProgramNames}, {kPumpNames, kTextPumpNames},
                    {kComments, kTextComments},      {kAppendComments, kTextWriteAppendComments},
                    {kSerialNo, kTextWriteSerial},   {kDescription, kTextDescription}};
        case comms::OptionsKind::Verify:
            break;
    }
    return {{kPumpData, kTextProgramData},
            {kProgNames, kTextProgramNames},
            {kPumpNames, kTextPumpNames},
            {kComments, kTextComments},
            {kDescription, kTextDescription}};
}

int titleOf(comms::OptionsKind kind) {
    switch (kind) {
        case comms::OptionsKind::Read:
            return commstext::kTextReadOptions;
        case comms::OptionsKind::Write:
            return commstext::kTextWriteOptions;
        case comms::OptionsKind::Verify:
            break;
    }
    return commstext::kTextVerifyOptions;
}

}  // namespace

OptionsDialog::OptionsDialog(const platform::LanguageCatalog& texts, comms::OptionsKind kind,
                             const comms::Options& preset, QWidget* parent)
    : QDialog(parent), preset_(preset) {
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(uiText(texts, titleOf(kind)));
    auto* layout = new QVBoxLayout(this);
    for (const Shown& shown : shownFlags(kind)) {
        auto* box = new QCheckBox(uiText(texts, shown.textId), this);
        box->setChecked(*flagOf(preset_, shown.flag));
        box->setObjectName(QStringLiteral("flag%1").arg(shown.flag));
        boxes_[static_cast<std::size_t>(shown.flag)] = box;
        if (shown.flag == kAppendComments) {
            // Shown as a detail of the comments above it.
            auto* indented = new QHBoxLayout;
            indented->addSpacing(20);
            indented->addWidget(box);
            layout->addLayout(indented);
        } else {
            layout->addWidget(box);
        }
    }
    // Appending only means something while comments are moved at all.
    if (QCheckBox* append = boxes_[kAppendComments]) {
        QCheckBox* comments = boxes_[kComments];
        append->setEnabled(comments->isChecked());
        connect(comments, &QCheckBox::toggled, append, &QWidget::setEnabled);
    }
    layout->addSpacing(6);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

comms::Options OptionsDialog::options() const {
    comms::Options options = preset_;
    for (int flag = 0; flag < 9; ++flag) {
        if (const QCheckBox* box = boxes_[static_cast<std::size_t>(flag)]) {
            *flagOf(options, flag) = box->isChecked();
        }
    }
    return options;
}

}  // namespace qelto::app
