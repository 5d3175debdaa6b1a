#include "app/comms/differences_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/comms/comms_texts.h"
#include "app/shell/shell_texts.h"

namespace qelto::app {

QString differencePlace(const platform::LanguageCatalog& texts,
                        const comms::Difference& difference) {
    using namespace commstext;
    QStringList parts;
    if (difference.program >= 0) {
        parts << uiText(texts, kTextProgramN).arg(difference.program);
    }
    if (difference.trigger >= 0) {
        parts << uiText(texts, kTextTriggerN).arg(difference.trigger);
    }
    if (difference.pump >= 0) {
        parts << uiText(texts, kTextPumpN).arg(difference.pump);
    }
    return parts.join(QStringLiteral(", "));
}

DifferencesDialog::DifferencesDialog(const platform::LanguageCatalog& texts,
                                     const std::vector<comms::Difference>& differences,
                                     QWidget* parent, const QStringList& sides)
    : QDialog(parent) {
    using namespace commstext;
    setObjectName(QStringLiteral("differencesDialog"));
    setWindowTitle(uiText(texts, kTextDifferencesCaption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        uiText(texts, kTextDifferencesCount).arg(static_cast<qsizetype>(differences.size())),
        this));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("differences"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({uiText(texts, kTextSetting),
                            sides.size() == 2 ? sides[0] : uiText(texts, kTextUnit),
                            sides.size() == 2 ? sides[1] : uiText(texts, kTextDocument)});
    for (const comms::Difference& difference : differences) {
        const QString place = differencePlace(texts, difference);
        const QString field = QString::fromStdString(difference.field);
        auto* row = new QTreeWidgetItem(
            list_, {place.isEmpty() ? field : place + QStringLiteral(": ") + field,
                    QString::fromStdString(difference.unitValue),
                    QString::fromStdString(difference.documentValue)});
        row->setToolTip(0, QString::fromStdString(comms::describe(difference)));
    }
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    list_->setMinimumSize(560, 240);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace qelto::app
