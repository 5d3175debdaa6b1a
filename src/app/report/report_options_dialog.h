// The report options dialog: which report to read from a unit (the unit's totals, its log over a
// date range split into shifts, or its settings). The rules that keep the dates and the shift
// times consistent live in reports::ReportOptionsForm; the dialog only mirrors them.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "comms/report_request.h"
#include "platform/language_catalog.h"
#include "reports/report_options_form.h"

class QDateEdit;
class QRadioButton;
class QTimeEdit;

namespace qelto::app {

class ReportOptionsDialog final : public QDialog {
    Q_OBJECT

  public:
    // today and secondsNow (hours and minutes only) are what the pickers open with.
    ReportOptionsDialog(const platform::LanguageCatalog& texts, const reports::CalendarDate& today,
                        std::uint32_t secondsNow, QWidget* parent = nullptr);

    const reports::ReportOptionsForm& form() const { return form_; }
    // What OK hands to the operation driver.
    comms::ReportRequest request() const;

  private:
    void mirror();

    reports::ReportOptionsForm form_;
    bool mirroring_ = false;  // the pickers are being set from the form, not by the engineer
    std::array<QRadioButton*, 3> kinds_{};
    std::array<QRadioButton*, 3> shiftChoices_{};
    QDateEdit* from_;
    QDateEdit* to_;
    std::array<QTimeEdit*, 3> starts_{};
    std::array<QTimeEdit*, 3> ends_{};
};

// The report options dialog; nullopt when the engineer cancels.
std::optional<comms::ReportRequest> askReportOptionsDialog(QWidget* parent,
                                                           const platform::LanguageCatalog& texts);

}  // namespace qelto::app
