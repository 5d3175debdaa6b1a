#include "app/batch/batch_setup_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <utility>

#include "app/batch/batch_dialog_prompts.h"
#include "app/batch/batch_password_dialog.h"
#include "app/batch/batch_texts.h"
#include "app/shell/shell_texts.h"

namespace qelto::app {
namespace {

// The core's refusals with the focus put on the field they name, as the form always did.
class FocusingPrompts final : public comms::BatchPrompts {
  public:
    FocusingPrompts(BatchDialogPrompts& inner, QLineEdit* salesOrder, QLineEdit* batchSize,
                    QLineEdit* logDirectory)
        : inner_(inner),
          salesOrder_(salesOrder),
          batchSize_(batchSize),
          logDirectory_(logDirectory) {}

    void warn(const std::string& text, comms::BatchField field) override {
        inner_.warn(text, field);
        QLineEdit* target = field == comms::BatchField::BatchSize    ? batchSize_
                            : field == comms::BatchField::SalesOrder ? salesOrder_
                                                                     : logDirectory_;
        target->setFocus();
        target->selectAll();
    }
    void messageText(const std::string& text, comms::MessageIcon icon) override {
        inner_.messageText(text, icon);
    }
    bool askYesNo(const comms::Question& question) override { return inner_.askYesNo(question); }
    bool askOkCancel(const comms::Question& question) override {
        return inner_.askOkCancel(question);
    }

  private:
    BatchDialogPrompts& inner_;
    QLineEdit* salesOrder_;
    QLineEdit* batchSize_;
    QLineEdit* logDirectory_;
};

QLineEdit* namedEdit(const char* name, const std::string& value) {
    auto* edit = new QLineEdit(QString::fromStdString(value));
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

// Shown, never edited: it looks it and the focus passes it by.
void showOnly(QLineEdit* edit) {
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: palette(window); }"));
}

}  // namespace

BatchSetupDialog::BatchSetupDialog(const platform::LanguageCatalog& texts,
                                   BatchDialogPrompts& prompts,
                                   const platform::SettingsStore& store, model::CProgData& record,
                                   comms::BatchEnvironment environment, const QString& userName,
                                   QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      prompts_(prompts),
      store_(store),
      record_(record),
      environment_(std::move(environment)),
      form_(comms::loadBatchForm(store.load())),
      salesOrder_(namedEdit("salesOrder", form_.salesOrder)),
      batchSize_(namedEdit("batchSize", {})),
      batchCounter_(namedEdit("batchCounter", {})),
      logDirectory_(namedEdit("logDirectory", form_.logDirectory)),
      jobFile_(new QLabel) {
    setWindowTitle(uiText(texts, text::kSetupCaption));
    // Digits only, at most what the 32-bit size holds; the size is checked again on OK.
    batchSize_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,9}")), batchSize_));
    showOnly(batchCounter_);
    logDirectory_->setMinimumWidth(320);
    jobFile_->setObjectName(QStringLiteral("jobFile"));
    jobFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* user = new QLineEdit(userName);
    user->setObjectName(QStringLiteral("loggedInUser"));
    showOnly(user);

    // A batch under way keeps its job and size: they change only with a new batch, which asks
    // for the batch password.
    const bool underWay = form_.batchCounter > 0;
    salesOrder_->setEnabled(!underWay);
    batchSize_->setEnabled(!underWay);

    auto* choose = new QPushButton(QStringLiteral("Select Logging Directory"));
    choose->setObjectName(QStringLiteral("selectLogDirectory"));
    connect(choose, &QPushButton::clicked, this, &BatchSetupDialog::chooseLogDirectory);
    auto* fresh = new QPushButton(uiText(texts, text::kSetupNewBatch));
    fresh->setObjectName(QStringLiteral("newBatch"));
    connect(fresh, &QPushButton::clicked, this, &BatchSetupDialog::newBatch);
    connect(salesOrder_, &QLineEdit::textChanged, this, &BatchSetupDialog::showJobFile);
    connect(logDirectory_, &QLineEdit::textChanged, this, &BatchSetupDialog::showJobFile);

    auto* path = new QHBoxLayout;
    path->addWidget(logDirectory_, 1);
    path->addWidget(choose);
    auto* form = new QFormLayout;
    form->addRow(uiText(texts, text::kSetupSalesOrder), salesOrder_);
    form->addRow(uiText(texts, text::kSetupBatchSize), batchSize_);
    form->addRow(uiText(texts, text::kSetupBatchCounter), batchCounter_);
    form->addRow(uiText(texts, text::kSetupLogDirectory), path);
    form->addRow(QString(), jobFile_);
    form->addRow(uiText(texts, text::kSetupLoggedIn), user);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->addButton(fresh, QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &BatchSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BatchSetupDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    showCounters();
    showJobFile();
}

void BatchSetupDialog::showCounters() {
    batchSize_->setText(QString::number(form_.batchSize));
    batchCounter_->setText(QString::number(form_.batchCounter));
}

// Where the job file goes, so an engineer who leaves off the trailing separator sees that the
// year folder lands beside the chosen one, not in it.
void BatchSetupDialog::showJobFile() {
    const std::string job = salesOrder_->text().toStdString();
    if (job.empty() || !comms::jobNameProblem(job).empty()) {
        jobFile_->clear();
        return;
    }
    const std::string directory =
        comms::logDirectoryInUse(logDirectory_->text().toStdString(), environment_.programFolder);
    const std::string path =
        comms::jobFilePath(directory, comms::yearText(environment_.clock()), job);
    jobFile_->setText(uiText(texts_, text::kSetupJobFile).arg(QString::fromStdString(path)));
}

comms::BatchForm BatchSetupDialog::formFromFields() const {
    comms::BatchForm form = form_;
    form.salesOrder = salesOrder_->text().trimmed().toStdString();
    if (!batchSize_->text().isEmpty()) {
        form.batchSize = batchSize_->text().toUInt();
    }
    form.logDirectory = logDirectory_->text().toStdString();
    return form;
}

void BatchSetupDialog::accept() {
    FocusingPrompts prompts(prompts_, salesOrder_, batchSize_, logDirectory_);
    // A complete batch goes on only as a new one, behind the password, as New Batch does; the
    // size shown is kept for it.
    if (comms::setupStartsNewBatch(formFromFields(), store_.load())) {
        const QString size = batchSize_->text();
        if (!startNewBatchBehindPassword()) {
            return;
        }
        batchSize_->setText(size);
    }
    if (comms::acceptBatchSetup(formFromFields(), prompts, environment_, store_, record_) ==
        comms::SetupResult::Stored) {
        QDialog::accept();
    }
}

void BatchSetupDialog::reject() {
    if (comms::quitBatchSetup(prompts_)) {
        QDialog::reject();
    }
}

void BatchSetupDialog::chooseLogDirectory() {
    const QString chosen = prompts_.chooseFolder(this, QStringLiteral("Select Logging Directory"),
                                                 logDirectory_->text());
    if (!chosen.isEmpty()) {
        logDirectory_->setText(chosen);
    }
}

void BatchSetupDialog::newBatch() {
    if (startNewBatchBehindPassword()) {
        salesOrder_->setFocus();
    }
}

bool BatchSetupDialog::startNewBatchBehindPassword() {
    BatchPasswordDialog password(texts_, prompts_, this);
    if (password.exec() != QDialog::Accepted) {
        return false;
    }
    // Whatever was typed meanwhile stays; only the counter and the size start again.
    comms::BatchForm typed = formFromFields();
    form_.salesOrder = typed.salesOrder;
    form_.logDirectory = typed.logDirectory;
    comms::startNewBatch(form_, record_);
    showCounters();
    salesOrder_->setEnabled(true);
    batchSize_->setEnabled(true);
    return true;
}

}  // namespace qelto::app
