// The batch setup form: the sales order number (the job name), the batch size, the counter it
// has reached and the logging path; OK checks and stores them through the core's setup rules,
// Cancel asks before leaving, and a new batch, behind the batch password, empties the counter.
#pragma once

#include <QDialog>

#include "comms/batch_paths.h"
#include "comms/batch_setup.h"
#include "model/prog_data.h"
#include "platform/language_catalog.h"
#include "platform/settings_store.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qelto::app {

class BatchDialogPrompts;

class BatchSetupDialog final : public QDialog {
    Q_OBJECT

  public:
    BatchSetupDialog(const platform::LanguageCatalog& texts, BatchDialogPrompts& prompts,
                     const platform::SettingsStore& store, model::CProgData& record,
                     comms::BatchEnvironment environment, const QString& userName,
                     QWidget* parent = nullptr);

  public Q_SLOTS:
    void accept() override;
    // Cancel, Escape and the close box all ask "OK to quit Batch Setup?" first.
    void reject() override;

  private:
    void chooseLogDirectory();
    void newBatch();
    // The batch password, then the counter and size back to 0; false when it was not given.
    bool startNewBatchBehindPassword();
    void showCounters();
    void showJobFile();
    comms::BatchForm formFromFields() const;

    const platform::LanguageCatalog& texts_;
    BatchDialogPrompts& prompts_;
    const platform::SettingsStore& store_;
    model::CProgData& record_;
    comms::BatchEnvironment environment_;
    comms::BatchForm form_;
    QLineEdit* salesOrder_;
    QLineEdit* batchSize_;
    QLineEdit* batchCounter_;
    QLineEdit* logDirectory_;
    QLabel* jobFile_;
};

}  // namespace qelto::app
