#include "app/batch/user_login_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/batch/batch_dialog_prompts.h"
#include "app/batch/batch_texts.h"
#include "app/shell/shell_texts.h"
#include "comms/batch_setup.h"

namespace qelto::app {

UserLoginDialog::UserLoginDialog(const platform::LanguageCatalog& texts,
                                 BatchDialogPrompts& prompts, const QString& userName,
                                 QWidget* parent)
    : QDialog(parent), prompts_(prompts), name_(new QLineEdit(userName)) {
    setWindowTitle(uiText(texts, text::kLogInCaption));
    name_->setObjectName(QStringLiteral("userName"));
    name_->setMinimumWidth(220);
    auto* form = new QFormLayout;
    form->addRow(uiText(texts, text::kLogInUserName), name_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &UserLoginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    name_->selectAll();
}

QString UserLoginDialog::userName() const {
    return name_->text().trimmed();
}

void UserLoginDialog::accept() {
    if (!comms::acceptUserName(userName().toStdString())) {
        prompts_.beep();
        name_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace qelto::app
