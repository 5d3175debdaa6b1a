// The dialog that edits a report's comment as plain lines.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace qelto::app {

// nullopt when the engineer cancels.
std::optional<QString> editCommentDialog(QWidget* parent, const QString& caption,
                                         const QString& comment);

}  // namespace qelto::app
