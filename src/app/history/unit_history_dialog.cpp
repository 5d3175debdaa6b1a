#include "app/history/unit_history_dialog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>
#include <span>
#include <string_view>

#include "app/comms/comms_answers.h"
#include "app/comms/comms_texts.h"
#include "app/comms/differences_dialog.h"
#include "app/history/history_texts.h"
#include "app/shell/shell_context.h"
#include "model/config_diff.h"
#include "model/prog_data.h"
#include "model/qelto_doc.h"

namespace qelto::app {
namespace {

constexpr std::size_t kEntriesShown = 1000;
constexpr int kIdRole = Qt::UserRole;

// The entry's UTC time as the engineer reads a time: local, in the language's own way.
QString localTime(const std::string& utc) {
    const QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODate);
    return time.isValid() ? QLocale().toString(time.toLocalTime(), QLocale::ShortFormat)
                          : QString::fromStdString(utc);
}

// Older units tell no serial number: their entries keep 0.
QString serialText(std::uint32_t serial) {
    if (serial == 0) {
        return QStringLiteral("-");
    }
    return QStringLiteral("%1").arg(serial, 9, 10, QLatin1Char('0'));
}

// The operation as the list names it in the engineer's language; an operation with no text of
// its own keeps the word the history stores.
QString operationShown(const ShellContext& context, const std::string& operation) {
    using namespace historytext;
    static const std::map<std::string_view, int> kTexts{
        {"read", kOperationRead},
        {"backup", kOperationBackup},
        {"write", kOperationWrite},
        {"verify", kOperationVerify},
        {"clock-get", kOperationClockGet},
        {"clock-set", kOperationClockSet},
        {"calibration", kOperationCalibration},
        {"calibration-get", kOperationCalibration},
        {"reset", kOperationReset},
        {"report", kOperationReport},
        {"restore", kOperationRestore},
        {"batch-write", kOperationBatchWrite},
        {"dishwash-read", kOperationRead},
        {"dishwash-verify", kOperationVerify},
        {"usage", kOperationReport},
        {"dump", kOperationReport},
    };
    constexpr std::string_view kOlder = "legacy-";
    const bool older = operation.starts_with(kOlder);
    const std::string_view word =
        older ? std::string_view(operation).substr(kOlder.size()) : std::string_view(operation);
    const auto known = kTexts.find(word);
    const QString shown = known != kTexts.end()
                              ? context.text(known->second)
                              : QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
    return older ? context.text(kOperationOlderUnit).arg(shown) : shown;
}

QString resultShown(const ShellContext& context, comms::HistoryResult result) {
    using namespace historytext;
    switch (result) {
        case comms::HistoryResult::Done:
            return context.text(kResultDone);
        case comms::HistoryResult::Failed:
            break;
        case comms::HistoryResult::Cancelled:
            return context.text(kResultCancelled);
        case comms::HistoryResult::Differs:
            return context.text(kResultDiffers);
    }
    return context.text(kResultFailed);
}

// A snapshot as a configuration to compare; nullopt when its bytes are no document.
std::optional<model::CProgData> configOf(const std::vector<std::uint8_t>& snapshot) {
    model::CProgData config;
    const model::NoPumpNameDefaults noNames;
    model::CQeltoDoc doc(config, noNames);
    doc.onNewDocument();
    if (!doc.loadFromBytes(std::span(snapshot.data(), snapshot.size()), "history").ok()) {
        return std::nullopt;
    }
    return config;
}

// The verify's way of listing a difference, so both comparisons read alike.
comms::Difference asDifference(const model::ConfigDifference& difference) {
    comms::Difference row;
    row.field = model::fieldPath(difference);
    row.unitValue = difference.a;
    row.documentValue = difference.b;
    return row;
}

}  // namespace

UnitHistoryDialog::UnitHistoryDialog(ShellContext& context, comms::UnitHistory& history,
                                     CommsAnswers& answers, HistoryDialogActions actions,
                                     QWidget* parent)
    : QDialog(parent),
      context_(context),
      history_(history),
      answers_(answers),
      actions_(std::move(actions)) {
    using namespace historytext;
    setObjectName(QStringLiteral("unitHistoryDialog"));
    setWindowTitle(context_.text(kCaption));
    if (context_.chosenUnit) {
        unit_ = context_.chosenUnit->serial;
    }
    auto* layout = new QVBoxLayout(this);
    allUnits_ = new QCheckBox(context_.text(kAllUnits), this);
    allUnits_->setObjectName(QStringLiteral("historyAllUnits"));
    allUnits_->setChecked(!unit_);
    allUnits_->setEnabled(unit_.has_value());
    connect(allUnits_, &QCheckBox::toggled, this, &UnitHistoryDialog::refill);
    layout->addWidget(allUnits_);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("historyEntries"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({context_.text(kColumnTime), context_.text(kColumnOperation),
                            context_.text(kColumnSerial), context_.text(kColumnResult),
                            context_.text(kColumnUser), context_.text(kColumnMessage)});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(900, 360);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &UnitHistoryDialog::updateButtons);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &UnitHistoryDialog::openSelected);
    layout->addWidget(list_);

    auto* row = new QHBoxLayout;
    const auto button = [this, row](const char* name, int textId,
                                    void (UnitHistoryDialog::*slot)()) {
        auto* b = new QPushButton(context_.text(textId), this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
        return b;
    };
    open_ = button("historyOpen", kOpenAsDocument, &UnitHistoryDialog::openSelected);
    compareDocument_ = button("historyCompareDocument", kCompareWithDocument,
                              &UnitHistoryDialog::compareWithDocument);
    comparePrevious_ = button("historyComparePrevious", kCompareWithPrevious,
                              &UnitHistoryDialog::compareWithPrevious);
    restore_ = button("historyRestore", kRestoreToUnit, &UnitHistoryDialog::restoreSelected);
    row->addStretch();
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    row->addWidget(close);
    layout->addLayout(row);
    refill();
}

void UnitHistoryDialog::refill() {
    comms::HistoryQuery query;
    if (unit_ && !allUnits_->isChecked()) {
        query.serial = *unit_;
    }
    query.limit = kEntriesShown;
    std::string error;
    const std::vector<comms::HistoryEntry> entries = history_.list(query, &error);
    list_->clear();
    if (!error.empty()) {
        warn(error);
    }
    for (const comms::HistoryEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(
            list_, {localTime(entry.time), operationShown(context_, entry.operation),
                    serialText(entry.serial), resultShown(context_, entry.result),
                    QString::fromStdString(entry.user), QString::fromStdString(entry.message)});
        item->setData(0, kIdRole, QVariant::fromValue<qlonglong>(entry.id));
        item->setData(1, kIdRole, entry.hasSnapshot);
        item->setToolTip(5, QString::fromStdString(entry.message));
    }
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    updateButtons();
}

void UnitHistoryDialog::updateButtons() {
    const QTreeWidgetItem* item = list_->currentItem();
    const bool kept = item != nullptr && item->data(1, kIdRole).toBool();
    for (QPushButton* b : {open_, compareDocument_, comparePrevious_, restore_}) {
        b->setEnabled(kept);
    }
}

std::optional<comms::HistoryEntry> UnitHistoryDialog::selectedSnapshot() {
    const QTreeWidgetItem* item = list_->currentItem();
    if (item == nullptr) {
        return std::nullopt;
    }
    std::string error;
    auto entry = history_.entry(item->data(0, kIdRole).toLongLong(), &error);
    if (!entry || entry->snapshot.empty()) {
        if (!error.empty()) {
            warn(error);
        } else {
            answers_.message(this, context_.text(historytext::kNoSettingsKept),
                             comms::MessageIcon::Information, windowTitle());
        }
        return std::nullopt;
    }
    return entry;
}

void UnitHistoryDialog::openSelected() {
    if (const auto entry = selectedSnapshot();
        entry && actions_.openAsDocument && actions_.openAsDocument(entry->snapshot)) {
        accept();
    }
}

void UnitHistoryDialog::compareWithDocument() {
    if (const auto entry = selectedSnapshot()) {
        std::vector<std::uint8_t> document = context_.doc.storeToBytes();
        showDifferences(entry->snapshot, document,
                        {context_.text(historytext::kEntryN).arg(entry->id),
                         context_.text(commstext::kTextDocument)});
    }
}

void UnitHistoryDialog::compareWithPrevious() {
    const auto entry = selectedSnapshot();
    if (!entry) {
        return;
    }
    std::string error;
    const auto previous = history_.previousSnapshot(entry->id, &error);
    if (!previous) {
        if (!error.empty()) {
            warn(error);
        } else {
            answers_.message(this, context_.text(historytext::kSameSettings),
                             comms::MessageIcon::Information, windowTitle());
        }
        return;
    }
    showDifferences(previous->snapshot, entry->snapshot,
                    {context_.text(historytext::kEntryN).arg(previous->id),
                     context_.text(historytext::kEntryN).arg(entry->id)});
}

void UnitHistoryDialog::showDifferences(const std::vector<std::uint8_t>& older,
                                        const std::vector<std::uint8_t>& newer,
                                        const QStringList& sides) {
    const auto a = configOf(older);
    const auto b = configOf(newer);
    if (!a || !b) {
        warn("a copy of settings in the unit history is damaged and cannot be compared");
        return;
    }
    std::vector<comms::Difference> rows;
    for (const model::ConfigDifference& difference : model::diffConfigs(*a, *b)) {
        rows.push_back(asDifference(difference));
    }
    if (rows.empty()) {
        answers_.message(this, context_.text(historytext::kSameSettings),
                         comms::MessageIcon::Information, windowTitle());
        return;
    }
    // Beside the history, not in front of it: the engineer compares and goes on choosing.
    auto* dialog = new DifferencesDialog(context_.language, rows, this, sides);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void UnitHistoryDialog::restoreSelected() {
    const auto entry = selectedSnapshot();
    if (!entry || !actions_.restoreToUnit) {
        return;
    }
    const QString question =
        context_.text(historytext::kAskRestore).arg(entry->id).arg(serialText(entry->serial));
    if (!answers_.askYesNo(this, question, windowTitle())) {
        return;
    }
    if (!actions_.openAsDocument || !actions_.openAsDocument(entry->snapshot)) {
        return;
    }
    actions_.restoreToUnit(entry->serial);
    refill();
}

void UnitHistoryDialog::warn(const std::string& reason) {
    answers_.message(this,
                     context_.text(historytext::kCannotUse).arg(QString::fromStdString(reason)),
                     comms::MessageIcon::Warning, windowTitle());
}

}  // namespace qelto::app
