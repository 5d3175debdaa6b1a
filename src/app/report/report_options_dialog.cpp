#include "app/report/report_options_dialog.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/report/report_texts.h"
#include "app/shell/shell_texts.h"

namespace qelto::app {
namespace {

QDate toQDate(const reports::CalendarDate& date) {
    return {date.year, date.month, date.day};
}

reports::CalendarDate fromQDate(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

// Shift windows are whole minutes: the unit's log has no finer shift boundary.
QTime toQTime(std::uint32_t seconds) {
    return {static_cast<int>(seconds / 3600 % 24), static_cast<int>(seconds / 60 % 60)};
}

std::uint32_t fromQTime(const QTime& time) {
    return static_cast<std::uint32_t>(time.hour() * 3600 + time.minute() * 60);
}

QTimeEdit* timePicker(const QString& name) {
    auto* edit = new QTimeEdit;
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("HH:mm"));
    return edit;
}

QDateEdit* datePicker(const QString& name) {
    auto* edit = new QDateEdit;
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) +
                          40);
    return edit;
}

}  // namespace

ReportOptionsDialog::ReportOptionsDialog(const platform::LanguageCatalog& texts,
                                         const reports::CalendarDate& today,
                                         std::uint32_t secondsNow, QWidget* parent)
    : QDialog(parent),
      form_(today, secondsNow),
      from_(datePicker(QStringLiteral("fromDate"))),
      to_(datePicker(QStringLiteral("toDate"))) {
    setWindowTitle(uiText(texts, text::kOptionsCaption));

    auto* which = new QGroupBox(uiText(texts, text::kOptionsWhich));
    auto* whichLayout = new QVBoxLayout(which);
    auto* kindGroup = new QButtonGroup(this);
    const std::array<int, 3> kindTexts{text::kOptionsTotals, text::kOptionsRange,
                                       text::kOptionsSettings};
    for (std::size_t i = 0; i < kinds_.size(); ++i) {
        kinds_[i] = new QRadioButton(uiText(texts, kindTexts[i]));
        kinds_[i]->setObjectName(QStringLiteral("kind%1").arg(i));
        kindGroup->addButton(kinds_[i], static_cast<int>(i));
        whichLayout->addWidget(kinds_[i]);
    }

    auto* dates = new QGridLayout;
    whichLayout->addLayout(dates);
    dates->addWidget(new QLabel(uiText(texts, text::kOptionsFrom)), 0, 0);
    dates->addWidget(from_, 0, 1);
    dates->addWidget(new QLabel(uiText(texts, text::kOptionsTo)), 0, 2);
    dates->addWidget(to_, 0, 3);
    dates->setColumnStretch(4, 1);

    auto* shifts = new QGroupBox(uiText(texts, text::kOptionsShifts));
    auto* shiftLayout = new QVBoxLayout(shifts);
    auto* choiceRow = new QHBoxLayout;
    auto* shiftGroup = new QButtonGroup(this);
    const std::array<int, 3> shiftTexts{text::kOptionsNoShifts, text::kOptionsTwoShifts,
                                        text::kOptionsThreeShifts};
    for (std::size_t i = 0; i < shiftChoices_.size(); ++i) {
        shiftChoices_[i] = new QRadioButton(uiText(texts, shiftTexts[i]));
        shiftChoices_[i]->setObjectName(QStringLiteral("shifts%1").arg(i));
        shiftGroup->addButton(shiftChoices_[i], static_cast<int>(i));
        choiceRow->addWidget(shiftChoices_[i]);
    }
    choiceRow->addStretch();
    shiftLayout->addLayout(choiceRow);
    auto* times = new QGridLayout;
    shiftLayout->addLayout(times);
    times->addWidget(new QLabel(uiText(texts, text::kOptionsStart)), 0, 1);
    times->addWidget(new QLabel(uiText(texts, text::kOptionsEnd)), 0, 2);
    const std::array<int, 3> shiftNames{text::kOptionsShift1, text::kOptionsShift2,
                                        text::kOptionsShift3};
    for (std::size_t i = 0; i < reports::kShifts; ++i) {
        const int row = static_cast<int>(i) + 1;
        starts_[i] = timePicker(QStringLiteral("shift%1Start").arg(i + 1));
        ends_[i] = timePicker(QStringLiteral("shift%1End").arg(i + 1));
        times->addWidget(new QLabel(uiText(texts, shiftNames[i])), row, 0);
        times->addWidget(starts_[i], row, 1);
        times->addWidget(ends_[i], row, 2);
        connect(starts_[i], &QTimeEdit::timeChanged, this, [this, i](const QTime& time) {
            if (mirroring_) {
                return;
            }
            form_.setShiftStart(i, fromQTime(time));
            mirror();
        });
        connect(ends_[i], &QTimeEdit::timeChanged, this, [this, i](const QTime& time) {
            if (mirroring_) {
                return;
            }
            form_.setShiftEnd(i, fromQTime(time));
            mirror();
        });
    }
    times->setColumnStretch(3, 1);

    connect(kindGroup, &QButtonGroup::idClicked, this, [this](int id) {
        form_.choose(static_cast<reports::ReportChoice>(id));
        mirror();
    });
    connect(shiftGroup, &QButtonGroup::idClicked, this, [this](int id) {
        form_.setShiftChoice(static_cast<std::int8_t>(id));
        mirror();
    });
    connect(from_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (mirroring_) {
            return;
        }
        form_.setFrom(fromQDate(date));
        mirror();
    });
    connect(to_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (mirroring_) {
            return;
        }
        form_.setTo(fromQDate(date));
        mirror();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(which);
    layout->addWidget(shifts);
    layout->addWidget(buttons);
    mirror();
}

// Shows what the form holds after each change, so a corrected date or time snaps back at once.
void ReportOptionsDialog::mirror() {
    const QScopedValueRollback<bool> guard(mirroring_, true);
    kinds_[static_cast<std::size_t>(form_.choice())]->setChecked(true);
    shiftChoices_[static_cast<std::size_t>(form_.shiftChoice())]->setChecked(true);
    from_->setDate(toQDate(form_.from()));
    to_->setDate(toQDate(form_.to()));
    const reports::FormEnabled enabled = form_.enabled();
    from_->setEnabled(enabled.fromDate);
    to_->setEnabled(enabled.toDate);
    for (QRadioButton* button : shiftChoices_) {
        button->setEnabled(enabled.shiftButtons);
    }
    for (std::size_t i = 0; i < reports::kShifts; ++i) {
        starts_[i]->setTime(toQTime(form_.shift(i).start));
        ends_[i]->setTime(toQTime(form_.shift(i).end));
        starts_[i]->setEnabled(enabled.shiftTimes[i]);
        ends_[i]->setEnabled(enabled.shiftTimes[i]);
    }
}

comms::ReportRequest ReportOptionsDialog::request() const {
    comms::ReportRequest request;
    request.resultCode = form_.accept(request.options);
    return request;
}

std::optional<comms::ReportRequest> askReportOptionsDialog(QWidget* parent,
                                                           const platform::LanguageCatalog& texts) {
    const QDateTime now = QDateTime::currentDateTime();
    ReportOptionsDialog dialog(texts, fromQDate(now.date()), fromQTime(now.time()), parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.request();
}

}  // namespace qelto::app
