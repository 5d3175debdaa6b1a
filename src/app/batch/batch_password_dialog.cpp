#include "app/batch/batch_password_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/batch/batch_dialog_prompts.h"
#include "app/batch/batch_texts.h"
#include "app/shell/shell_texts.h"
#include "comms/batch_setup.h"

namespace qelto::app {

BatchPasswordDialog::BatchPasswordDialog(const platform::LanguageCatalog& texts,
                                         BatchDialogPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), password_(new QLineEdit) {
    setWindowTitle(uiText(texts, text::kPasswordCaption));
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMinimumWidth(180);
    auto* form = new QFormLayout;
    form->addRow(uiText(texts, text::kPasswordLabel), password_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &BatchPasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString BatchPasswordDialog::password() const {
    return password_->text();
}

void BatchPasswordDialog::accept() {
    if (!comms::batchPasswordMatches(password_->text().toStdString())) {
        password_->clear();
        prompts_.beep();
        password_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace qelto::app
