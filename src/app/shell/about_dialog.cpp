#include "app/shell/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "app/shell/shell_texts.h"

namespace qelto::app {

AboutDialog::AboutDialog(const platform::LanguageCatalog& texts,
                         std::function<bool(const QUrl&)> openLink, QWidget* parent)
    : QDialog(parent), openLink_(std::move(openLink)) {
    setWindowTitle(uiText(texts, text::kAboutCaption));
    auto* layout = new QVBoxLayout(this);
    auto* product =
        new QLabel(uiText(texts, text::kAboutProduct).arg(QApplication::applicationVersion()));
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    product->setFont(bold);
    layout->addWidget(product);
    auto* purpose = new QLabel(uiText(texts, text::kAboutPurpose));
    purpose->setWordWrap(true);
    purpose->setMinimumWidth(380);
    layout->addWidget(purpose);

    links_[0] = uiText(texts, text::kLinkWebSite);
    links_[1] = uiText(texts, text::kLinkMail);
    for (int i = 0; i < 2; ++i) {
        // The label shows the text itself as the link, so the engineer can also read it off.
        auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                                    .arg(QString::number(i), links_[i].toHtmlEscaped()));
        link->setObjectName(QStringLiteral("link%1").arg(i));
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        connect(link, &QLabel::linkActivated, this,
                [this](const QString& which) { activateLink(which.toInt()); });
        layout->addWidget(link);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::activateLink(int index) {
    if (index < 0 || index > 1) {
        return;
    }
    const QUrl url = QUrl::fromUserInput(links_[index]);
    if (!url.isValid() || !openLink_ || !openLink_(url)) {
        QApplication::beep();
    }
}

}  // namespace qelto::app
