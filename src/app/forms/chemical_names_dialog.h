// The chemical names pumps are named after, and each unit model's default pump names: the
// dialog over the per-user catalogue file. Nothing reaches the file until OK, except the pump
// defaults of a model the engineer agrees to save when switching to another model.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <filesystem>

#include "model/chemical_catalogue.h"
#include "platform/language_catalog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qelto::app {

class ChemicalNamesDialog final : public QDialog {
    Q_OBJECT

  public:
    // Opens on the pump defaults of unitType; texts must outlive the dialog.
    ChemicalNamesDialog(const platform::LanguageCatalog& texts, std::uint8_t unitType,
                        QWidget* parent = nullptr);
    ChemicalNamesDialog(const platform::LanguageCatalog& texts, std::uint8_t unitType,
                        std::filesystem::path file, QWidget* parent = nullptr);

    // Saves the list and changed pump defaults; stays open when the file cannot be written.
    void accept() override;

    QComboBox* unitTypeBox() const { return unitType_; }
    QComboBox* pumpBox(std::size_t pump) const { return pumps_.at(pump); }
    QListWidget* chemicalList() const { return list_; }
    QLineEdit* nameEdit() const { return nameEdit_; }
    QPushButton* addButton() const { return addButton_; }
    QPushButton* updateButton() const { return updateButton_; }
    QPushButton* deleteButton() const { return deleteButton_; }

  private:
    QWidget* buildPumps();
    QWidget* buildList();
    void showPumpDefaults();
    void refillPumpBoxes();
    void unitTypeChosen(int row);
    bool savePumpDefaults(std::uint8_t unitType);
    void addName();
    void updateName();
    void deleteName();
    std::uint8_t currentType() const;

    const platform::LanguageCatalog& texts_;
    model::ChemicalCatalogue catalogue_;
    std::uint8_t shownType_ = 0;
    bool pumpsChanged_ = false;
    bool refilling_ = false;
    int updatingRow_ = -1;  // the entry the update button is editing, or -1

    QComboBox* unitType_ = nullptr;
    std::array<QComboBox*, model::kPumps> pumps_{};
    QListWidget* list_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* updateButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
};

}  // namespace qelto::app
