#include "app/shell/language_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/shell/shell_texts.h"

namespace qelto::app {

LanguageDialog::LanguageDialog(const platform::LanguageCatalog& texts, int currentLanguage,
                               QWidget* parent)
    : QDialog(parent), list_(new QListWidget) {
    const platform::LanguageInfo* current = platform::findLanguage(currentLanguage);
    setWindowTitle(uiText(texts, text::kSelectLanguageCaption) +
                   QString::fromUtf8(current != nullptr ? current->nativeName : "English"));
    list_->setObjectName(QStringLiteral("languages"));
    for (int value = 1; const platform::LanguageInfo* info = platform::findLanguage(value);
         ++value) {
        // Each language in itself, so that an engineer finds his own in any window language.
        auto* item = new QListWidgetItem(QString::fromUtf8(info->nativeName), list_);
        item->setData(Qt::UserRole, value);
    }
    choose(currentLanguage);
    list_->setMinimumHeight(list_->sizeHintForRow(0) * (list_->count() + 1));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

int LanguageDialog::chosenLanguage() const {
    const QListWidgetItem* item = list_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : 1;
}

void LanguageDialog::choose(int language) {
    const int row = platform::findLanguage(language) != nullptr ? language - 1 : 0;
    list_->setCurrentRow(row);
}

}  // namespace qelto::app
