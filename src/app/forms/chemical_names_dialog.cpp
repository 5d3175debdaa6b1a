#include "app/forms/chemical_names_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "app/forms/form_fields.h"
#include "model/unit_types.h"
#include "platform/text_encoding.h"
#include "platform/user_paths.h"

namespace qelto::app {

using forms::catalogText;

namespace {

constexpr int kTextPump = 240;
constexpr int kTextPumpsChangedTitle = 345;
constexpr int kTextPumpsChangedQuestion = 346;
constexpr int kTextKeyPrefix = 377;
constexpr int kTextNoChemical = 386;
constexpr int kTextListEmpty = 395;
constexpr int kTextEdit = 3750;
constexpr int kTextAdd = 3751;
constexpr int kTextDelete = 3752;
constexpr int kTextTitle = 3753;
constexpr int kTextUnitType = 3614;
constexpr int kTextPumpDefaults = 3755;
constexpr int kTextChemicalList = 3756;
constexpr int kTextSaveFailed = 3758;

}  // namespace

ChemicalNamesDialog::ChemicalNamesDialog(const platform::LanguageCatalog& texts,
                                         std::uint8_t unitType, QWidget* parent)
    : ChemicalNamesDialog(texts, unitType, platform::chemicalCatalogueFile(), parent) {}

ChemicalNamesDialog::ChemicalNamesDialog(const platform::LanguageCatalog& texts,
                                         std::uint8_t unitType, std::filesystem::path file,
                                         QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      catalogue_(std::move(file), texts.text(kTextKeyPrefix),
                 platform::externalToLatin1(texts.text(kTextNoChemical))),
      shownType_(unitType) {
    setWindowTitle(catalogText(texts_, kTextTitle));
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildPumps());
    columns->addWidget(buildList(), 1);
    outer->addLayout(columns);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChemicalNamesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ChemicalNamesDialog::reject);
    outer->addWidget(buttons);

    catalogue_.LoadPumpDefaults(shownType_);
    for (const std::string& name : catalogue_.chemicals) {
        list_->addItem(forms::fromRecordText(name));
    }
    int typeRow = unitType_->findData(shownType_);
    if (typeRow < 0) {
        unitType_->addItem(QString::fromStdString(model::unitModelName(shownType_)), shownType_);
        typeRow = unitType_->count() - 1;
    }
    unitType_->setCurrentIndex(typeRow);
    showPumpDefaults();
    connect(unitType_, &QComboBox::currentIndexChanged, this, &ChemicalNamesDialog::unitTypeChosen);
}

QWidget* ChemicalNamesDialog::buildPumps() {
    auto* box = new QGroupBox(catalogText(texts_, kTextPumpDefaults), this);
    auto* form = new QFormLayout(box);
    unitType_ = new QComboBox(box);
    for (std::uint8_t code = 0; code < model::kUnitModelCount; ++code) {
        unitType_->addItem(QString::fromStdString(model::unitModelName(code)), code);
    }
    form->addRow(catalogText(texts_, kTextUnitType), unitType_);
    for (std::size_t k = 0; k < pumps_.size(); ++k) {
        pumps_[k] = new QComboBox(box);
        pumps_[k]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        pumps_[k]->setMinimumContentsLength(16);
        form->addRow(catalogText(texts_, kTextPump) + QStringLiteral(" %1").arg(k + 1), pumps_[k]);
        connect(pumps_[k], &QComboBox::currentIndexChanged, this, [this] {
            if (!refilling_) {
                pumpsChanged_ = true;
            }
        });
    }
    return box;
}

QWidget* ChemicalNamesDialog::buildList() {
    auto* box = new QGroupBox(catalogText(texts_, kTextChemicalList), this);
    auto* column = new QVBoxLayout(box);
    list_ = new QListWidget(box);
    nameEdit_ = new QLineEdit(box);
    addButton_ = new QPushButton(catalogText(texts_, kTextAdd), box);
    updateButton_ = new QPushButton(catalogText(texts_, kTextEdit), box);
    deleteButton_ = new QPushButton(catalogText(texts_, kTextDelete), box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton_);
    buttons->addWidget(updateButton_);
    buttons->addWidget(deleteButton_);
    column->addWidget(list_, 1);
    column->addWidget(nameEdit_);
    column->addLayout(buttons);
    connect(addButton_, &QPushButton::clicked, this, &ChemicalNamesDialog::addName);
    connect(updateButton_, &QPushButton::clicked, this, &ChemicalNamesDialog::updateName);
    connect(deleteButton_, &QPushButton::clicked, this, &ChemicalNamesDialog::deleteName);
    return box;
}

std::uint8_t ChemicalNamesDialog::currentType() const {
    return static_cast<std::uint8_t>(unitType_->currentData().toUInt());
}

// Each pump offers its stored default first, so opening and closing the dialog changes nothing.
void ChemicalNamesDialog::showPumpDefaults() {
    refilling_ = true;
    const std::uint8_t pumpCount = model::unitPumpCount(shownType_);
    for (std::size_t k = 0; k < pumps_.size(); ++k) {
        QComboBox* box = pumps_[k];
        box->clear();
        if (!catalogue_.pumpDefaults[k].empty()) {
            box->addItem(forms::fromRecordText(catalogue_.pumpDefaults[k]));
        }
        box->addItem(forms::fromRecordText(catalogue_.noChemical()));
        box->addItem(catalogText(texts_, kTextPump) +
                     QStringLiteral(" %1").arg(k + 1, 2, 10, QLatin1Char('0')));
        for (int row = 0; row < list_->count(); ++row) {
            box->addItem(list_->item(row)->text());
        }
        box->setCurrentIndex(0);
        box->setEnabled(k < pumpCount);
    }
    pumpsChanged_ = false;
    refilling_ = false;
}

// After the list changed: the same entries as showPumpDefaults, each pump keeping its choice.
void ChemicalNamesDialog::refillPumpBoxes() {
    std::array<QString, model::kPumps> chosen;
    for (std::size_t k = 0; k < pumps_.size(); ++k) {
        chosen[k] = pumps_[k]->currentText();
    }
    const bool changed = pumpsChanged_;
    showPumpDefaults();
    refilling_ = true;
    for (std::size_t k = 0; k < pumps_.size(); ++k) {
        const int row = pumps_[k]->findText(chosen[k]);
        if (row >= 0) {
            pumps_[k]->setCurrentIndex(row);
        }
    }
    refilling_ = false;
    pumpsChanged_ = changed;
}

bool ChemicalNamesDialog::savePumpDefaults(std::uint8_t unitType) {
    for (std::size_t k = 0; k < pumps_.size(); ++k) {
        catalogue_.pumpSelections[k] = forms::toRecordText(pumps_[k]->currentText());
    }
    std::string error;
    if (!catalogue_.SavePumpDefaults(unitType, &error)) {
        QMessageBox::warning(this, windowTitle(),
                             catalogText(texts_, kTextSaveFailed)
                                 .replace(QStringLiteral("%s"), QString::fromStdString(error)));
        return false;
    }
    return true;
}

void ChemicalNamesDialog::unitTypeChosen(int) {
    if (pumpsChanged_ &&
        QMessageBox::question(this, catalogText(texts_, kTextPumpsChangedTitle),
                              catalogText(texts_, kTextPumpsChangedQuestion),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        savePumpDefaults(shownType_);
    }
    shownType_ = currentType();
    // Loading the defaults reloads the stored list as well; the dialog's own list, edits and
    // all, is the one the pumps offer.
    catalogue_.LoadPumpDefaults(shownType_);
    showPumpDefaults();
}

void ChemicalNamesDialog::addName() {
    const int selected = list_->currentRow();
    QString name = nameEdit_->text();
    if (name.isEmpty()) {
        const QString prefix = QString::fromStdString(catalogue_.keyPrefix());
        name = selected >= 0 ? prefix + QStringLiteral(" %1").arg(list_->count(), 2)
                             : prefix + QStringLiteral("  0");
    }
    const int at = selected >= 0 ? selected : list_->count();
    list_->insertItem(at, name);
    if (at + 1 < list_->count()) {
        list_->setCurrentRow(at + 1);
    } else {
        list_->setCurrentRow(-1);
    }
    refillPumpBoxes();
}

void ChemicalNamesDialog::updateName() {
    if (updatingRow_ < 0) {
        updatingRow_ = list_->currentRow();
        if (updatingRow_ < 0) {
            return;
        }
        nameEdit_->setText(list_->item(updatingRow_)->text());
        updateButton_->setText(QStringLiteral("Update"));
        return;
    }
    if (updatingRow_ < list_->count()) {
        list_->item(updatingRow_)->setText(nameEdit_->text());
    }
    updatingRow_ = -1;
    updateButton_->setText(catalogText(texts_, kTextEdit));
    refillPumpBoxes();
}

void ChemicalNamesDialog::deleteName() {
    const int selected = list_->currentRow();
    if (selected < 0) {
        return;
    }
    delete list_->takeItem(selected);
    if (updatingRow_ >= 0) {
        updatingRow_ = -1;
        updateButton_->setText(catalogText(texts_, kTextEdit));
    }
    refillPumpBoxes();
    if (list_->count() == 0) {
        QMessageBox::information(this, windowTitle(), catalogText(texts_, kTextListEmpty));
    }
}

void ChemicalNamesDialog::accept() {
    catalogue_.chemicals.clear();
    for (int row = 0; row < list_->count(); ++row) {
        catalogue_.chemicals.push_back(forms::toRecordText(list_->item(row)->text()));
    }
    std::string error;
    if (!catalogue_.SaveChemicalList(&error)) {
        QMessageBox::warning(this, windowTitle(),
                             catalogText(texts_, kTextSaveFailed)
                                 .replace(QStringLiteral("%s"), QString::fromStdString(error)));
        return;
    }
    if (pumpsChanged_ && !savePumpDefaults(shownType_)) {
        return;
    }
    QDialog::accept();
}

}  // namespace qelto::app
