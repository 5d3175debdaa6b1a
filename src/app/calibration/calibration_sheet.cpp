#include "app/calibration/calibration_sheet.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/calibration/pump_calibrate_page.h"
#include "app/calibration/resets_page.h"
#include "app/calibration/sheet_texts.h"

namespace qelto::app {

namespace t = calibration_text;

namespace {

SheetPrompts& chosen(SheetPrompts* given, std::unique_ptr<DialogSheetPrompts>& own,
                     QWidget* sheet) {
    if (given != nullptr) {
        return *given;
    }
    own = std::make_unique<DialogSheetPrompts>(sheet);
    return *own;
}

}  // namespace

CalibrationSheet::CalibrationSheet(const CalibrationSheetSetup& setup, SheetPrompts* prompts,
                                   QWidget* parent)
    : QDialog(parent), prompts_(chosen(prompts, ownPrompts_, this)) {
    const auto text = [&setup](int id) { return QString::fromStdString(setup.texts.text(id)); };
    setWindowTitle(text(t::kSheetTitle));

    calibration_ = new PumpCalibratePage(
        {setup.doc, setup.texts, setup.americanMode, setup.unit, worker_, prompts_});
    tabs_ = new QTabWidget;
    tabs_->addTab(calibration_, text(t::kCalibrationTab));
    if (setup.unit != nullptr) {
        resets_ = new ResetsPage(setup.texts, *setup.unit, worker_, prompts_);
        tabs_->addTab(resets_, text(t::kResetsTab));
        connect(calibration_, &PumpCalibratePage::runningChanged, resets_,
                &ResetsPage::setRunActive);
    }

    auto* label = new QLabel(setup.label);
    label->setObjectName(QStringLiteral("unitLabel"));
    auto* close = new QDialogButtonBox;
    close->addButton(text(t::kCloseButton), QDialogButtonBox::RejectRole);
    connect(close, &QDialogButtonBox::rejected, this, &CalibrationSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(tabs_);
    layout->addWidget(close);

    comms::CalibrationPage page;
    const model::CProgData& record = setup.doc.config();
    if (setup.unit == nullptr) {
        comms::loadFromRecord(page, record);
        page.pumpCount = std::min<std::uint32_t>(setup.doc.pumpCount(), comms::kCalibrationPumps);
        page.fixedSpeed = comms::isFixedSpeedType(record.unitType);
        calibration_->setPage(page);
        return;
    }
    comms::CalibrationSession* unit = setup.unit;
    auto read = std::make_shared<comms::CalibrationPage>(page);
    // Until the unit has answered, the page shows the editor's values with nothing to press.
    comms::loadFromRecord(page, record);
    calibration_->setPage(page);
    const platform::LanguageCatalog* texts = &setup.texts;
    worker_.start([unit, read] { return unit->readFromUnit(*read); },
                  [this, read, texts](const comms::CalibrationResult& result) {
                      if (result.ok) {
                          calibration_->setPage(*read);
                      } else if (!result.cancelled) {
                          prompts_.message(QString::fromStdString(texts->text(result.message)),
                                           QString::fromStdString(texts->text(t::kSheetTitle)),
                                           result.icon);
                      }
                  });
}

CalibrationSheet::~CalibrationSheet() = default;

void CalibrationSheet::reject() {
    if (calibration_->running()) {
        calibration_->stopRun();
        return;
    }
    if (worker_.busy()) {
        return;
    }
    QDialog::reject();
}

void runCalibrationSheet(QWidget* parent, const CalibrationSheetSetup& setup) {
    CalibrationSheet sheet(setup, nullptr, parent);
    sheet.exec();
}

}  // namespace qelto::app
