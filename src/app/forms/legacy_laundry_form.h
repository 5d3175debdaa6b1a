// The form of an older laundry unit: every setting of the record's legacy image, field by field,
// and the three commands that read the unit into it, write it to the unit, and send the third
// password command. The commands talk to the unit on the unit session's serial port (the window's
// current one, the simulated one under --simulate) off the GUI thread.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "comms/unit_session.h"
#include "model/qelto_doc.h"
#include "platform/language_catalog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qelto::app {

class CommsAnswers;
class OlderUnitDialog;

class LegacyLaundryForm final : public QWidget {
    Q_OBJECT

  public:
    // texts and session must outlive the form; answers null: the real dialogs.
    LegacyLaundryForm(model::CQeltoDoc& doc, const platform::LanguageCatalog& texts,
                      comms::UnitSession& session, QWidget* parent = nullptr,
                      CommsAnswers* answers = nullptr);
    ~LegacyLaundryForm() override;

    // Shows the record again, after an Open or anything else that replaced it.
    void reload();

    // True while a command is talking to the unit.
    bool busy() const;

    QPushButton* readButton() const { return readButton_; }
    QPushButton* writeButton() const { return writeButton_; }
    QPushButton* thirdButton() const { return thirdButton_; }

  Q_SIGNALS:
    void documentModified();
    // A command has finished (whatever its outcome) and the form is editable again.
    void operationFinished();

  private:
    // A number box with the range its field has in the unit and the label that names it.
    struct RangedBox {
        QSpinBox* box;
        int label;
        int min;
        int max;
    };

    void build();
    void connectEdits();
    // Shows value as it is: a value beyond the field's range is marked, never clamped, so the
    // record keeps what the unit or file holds until the engineer corrects it.
    void showValue(QSpinBox* box, int value);
    void markRanges();
    // The first box whose value is beyond its range; nullptr when every value fits.
    const RangedBox* outOfRange() const;
    void storeAll();
    void edited();
    void setTalking(bool talking);
    void run(int titleId, comms::LegacyOperation operation,
             const comms::HistoryRecording& recording);
    void runRead();
    void runWrite();
    void runThird();

    model::CQeltoDoc& doc_;
    const platform::LanguageCatalog& texts_;
    comms::UnitSession& session_;
    std::unique_ptr<CommsAnswers> ownAnswers_;
    CommsAnswers* answers_;
    QPointer<OlderUnitDialog> talking_;
    bool loading_ = false;
    std::vector<RangedBox> ranged_;

    QWidget* fields_ = nullptr;
    QLineEdit* customer1_ = nullptr;
    QLineEdit* customer2_ = nullptr;
    QSpinBox* resetMinutes_ = nullptr;
    QSpinBox* resetSeconds_ = nullptr;
    QComboBox* unitType_ = nullptr;
    QSpinBox* pulseCount_ = nullptr;
    QSpinBox* pumpSpeed_ = nullptr;
    QSpinBox* runMinutes_ = nullptr;
    QSpinBox* runSeconds_ = nullptr;
    QSpinBox* delayMinutes_ = nullptr;
    QSpinBox* delaySeconds_ = nullptr;
    std::array<QSpinBox*, 3> pins_{};
    QSpinBox* accessCode_ = nullptr;
    QSpinBox* flushMinutes_ = nullptr;
    QSpinBox* flushSeconds_ = nullptr;
    QLineEdit* serialNumber_ = nullptr;
    QCheckBox* resetDelayOff_ = nullptr;
    QPushButton* readButton_ = nullptr;
    QPushButton* writeButton_ = nullptr;
    QPushButton* thirdButton_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace qelto::app
