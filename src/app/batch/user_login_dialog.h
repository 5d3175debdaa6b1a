// The user log-in that opens the batch commands: one name, which goes into every line of the
// job files written while it holds.
#pragma once

#include <QDialog>

#include "platform/language_catalog.h"

class QLineEdit;

namespace qelto::app {

class BatchDialogPrompts;

class UserLoginDialog final : public QDialog {
    Q_OBJECT

  public:
    UserLoginDialog(const platform::LanguageCatalog& texts, BatchDialogPrompts& prompts,
                    const QString& userName, QWidget* parent = nullptr);

    QString userName() const;

  public Q_SLOTS:
    // An empty name beeps and keeps the dialog open with the focus on the name.
    void accept() override;

  private:
    BatchDialogPrompts& prompts_;
    QLineEdit* name_;
};

}  // namespace qelto::app
