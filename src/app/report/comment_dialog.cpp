#include "app/report/comment_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qelto::app {

std::optional<QString> editCommentDialog(QWidget* parent, const QString& caption,
                                         const QString& comment) {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* edit = new QPlainTextEdit(comment);
    edit->setObjectName(QStringLiteral("comment"));
    // The comment is plain text; markup typed here shows on the page as typed.
    edit->setTabChangesFocus(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    dialog.resize(480, 260);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return edit->toPlainText();
}

}  // namespace qelto::app
