// The batch password, asked before a new batch empties the counter and before the counter reset
// of the batch's writes is armed.
#pragma once

#include <QDialog>

#include "platform/language_catalog.h"

class QLineEdit;

namespace qelto::app {

class BatchDialogPrompts;

class BatchPasswordDialog final : public QDialog {
    Q_OBJECT

  public:
    BatchPasswordDialog(const platform::LanguageCatalog& texts, BatchDialogPrompts& prompts,
                        QWidget* parent = nullptr);

    // What was typed when the dialog closed with OK.
    QString password() const;

  public Q_SLOTS:
    // A wrong password is cleared with the error beep and the dialog stays.
    void accept() override;

  private:
    BatchDialogPrompts& prompts_;
    QLineEdit* password_;
};

}  // namespace qelto::app
