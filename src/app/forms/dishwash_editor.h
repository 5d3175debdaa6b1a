// The editor of an older dishwash unit's settings: every field of the document's dishwash
// record, each within what the unit's byte can hold and what the setting means.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "model/qelto_doc.h"
#include "platform/language_catalog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace qelto::app {

class DishwashEditor final : public QWidget {
    Q_OBJECT

  public:
    // texts must outlive the editor.
    DishwashEditor(model::CQeltoDoc& doc, const platform::LanguageCatalog& texts,
                   QWidget* parent = nullptr);

    // Shows the record again, after an Open or anything else that replaced it.
    void reload();

    // True when the document just opened was saved from a dishwash view, so the window shows
    // this editor rather than the laundry views.
    static bool documentAsksForDishwash(const model::CQeltoDoc& doc);

  Q_SIGNALS:
    void documentModified();

  protected:
    // While the editor is on screen a save remembers it, so the file reopens here.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    using ByteField = std::function<std::uint8_t&(model::CDishWashViewData&)>;
    struct ByteBinding {
        QSpinBox* box;
        ByteField field;
    };

    QSpinBox* byteBox(int min, int max, ByteField field);
    QCheckBox* flagBox(int textId, ByteField field);
    QWidget* minSec(int maxMinutes, int maxSeconds,
                    std::function<model::MinSec&(model::CDishWashViewData&)> time);
    QWidget* buildUnit();
    QWidget* buildInitialCharge();
    QWidget* buildProbe();
    QWidget* buildPumps();
    QWidget* buildOutputs();
    QWidget* buildProportional();
    QWidget* buildCarried();
    // change returns whether it changed the record.
    void edit(const std::function<bool(model::CDishWashViewData&)>& change);

    model::CQeltoDoc& doc_;
    const platform::LanguageCatalog& texts_;
    bool loading_ = false;
    std::vector<ByteBinding> bytes_;
    std::vector<std::pair<QCheckBox*, ByteField>> flags_;
    QComboBox* unitType_ = nullptr;
    QLineEdit* serialNumber_ = nullptr;
    std::array<QSpinBox*, 3> pins_{};
    QLineEdit* text_ = nullptr;
};

}  // namespace qelto::app
