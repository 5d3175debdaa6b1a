// The list of the ten languages; the choice takes effect at the next start.
#pragma once

#include <QDialog>

#include "platform/language_catalog.h"

class QListWidget;

namespace qelto::app {

class LanguageDialog final : public QDialog {
    Q_OBJECT

  public:
    LanguageDialog(const platform::LanguageCatalog& texts, int currentLanguage,
                   QWidget* parent = nullptr);

    int chosenLanguage() const;  // the "Language" value of the selected row
    void choose(int language);

  private:
    QListWidget* list_;
};

}  // namespace qelto::app
