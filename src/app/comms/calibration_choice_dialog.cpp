#include "app/comms/calibration_choice_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/comms/comms_texts.h"
#include "app/shell/shell_texts.h"

namespace qelto::app {
namespace {

QTableWidgetItem* cell(const QString& text, bool differs) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (differs) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
    }
    return item;
}

}  // namespace

CalibrationChoiceDialog::CalibrationChoiceDialog(const platform::LanguageCatalog& texts,
                                                 const comms::CalibrationComparison& comparison,
                                                 QWidget* parent)
    : QDialog(parent) {
    using namespace commstext;
    setObjectName(QStringLiteral("calibrationChoiceDialog"));
    setWindowTitle(uiText(texts, kTextCalibrationCaption));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(uiText(texts, kTextCalibrationQuestion), this);
    question->setWordWrap(true);
    layout->addWidget(question);

    const int pumps =
        std::clamp(comparison.pumpsShown, 0, static_cast<int>(comparison.unitValues.size()));
    table_ = new QTableWidget(pumps, 3, this);
    table_->setHorizontalHeaderLabels(
        {uiText(texts, kTextPump), uiText(texts, kTextUnit), uiText(texts, kTextEditor)});
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    for (int pump = 0; pump < pumps; ++pump) {
        const auto i = static_cast<std::size_t>(pump);
        const bool differs = comparison.unitValues[i] != comparison.editorValues[i];
        auto* name = new QTableWidgetItem(QString::number(pump + 1));
        name->setFlags(Qt::ItemIsEnabled);
        table_->setItem(pump, 0, name);
        table_->setItem(pump, 1, cell(QString::number(comparison.unitValues[i]), differs));
        table_->setItem(pump, 2, cell(QString::number(comparison.editorValues[i]), differs));
    }
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->resizeRowsToContents();
    int height = table_->horizontalHeader()->sizeHint().height() + 4;
    for (int row = 0; row < pumps; ++row) {
        height += table_->rowHeight(row);
    }
    table_->setMinimumWidth(320);
    table_->setFixedHeight(std::min(height + 2 * table_->frameWidth(), 360));
    layout->addWidget(table_);

    keepUnit_ = new QRadioButton(uiText(texts, kTextKeepUnitCalibration), this);
    keepUnit_->setObjectName(QStringLiteral("keepUnit"));
    writeEditor_ = new QRadioButton(uiText(texts, kTextWriteEditorCalibration), this);
    writeEditor_->setObjectName(QStringLiteral("writeEditor"));
    // What the unit measured on site is the safer side to keep.
    keepUnit_->setChecked(true);
    layout->addWidget(keepUnit_);
    layout->addWidget(writeEditor_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int CalibrationChoiceDialog::choice() const {
    return writeEditor_->isChecked() ? comms::kChooseEditorCalibration
                                     : comms::kChooseUnitCalibration;
}

}  // namespace qelto::app
