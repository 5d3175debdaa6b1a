// The about box: the product, what it is for, and two links (web site and mail).
#pragma once

#include <QDialog>
#include <functional>

#include "platform/language_catalog.h"

class QUrl;

namespace qelto::app {

class AboutDialog final : public QDialog {
    Q_OBJECT

  public:
    // openLink opens a link's text; the box beeps when it fails.
    AboutDialog(const platform::LanguageCatalog& texts, std::function<bool(const QUrl&)> openLink,
                QWidget* parent = nullptr);

    // Opens the text of link 0 (web site) or 1 (mail), as a click on it does.
    void activateLink(int index);

  private:
    std::function<bool(const QUrl&)> openLink_;
    QString links_[2];
};

}  // namespace qelto::app
