#include "app/calibration/sheet_prompts.h"

#include <QMessageBox>

namespace qelto::app {

bool DialogSheetPrompts::confirm(const QString& text, const QString& caption) {
    return QMessageBox::question(parent_, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

void DialogSheetPrompts::message(const QString& text, const QString& caption,
                                 comms::MessageIcon icon) {
    switch (icon) {
        case comms::MessageIcon::Information:
            QMessageBox::information(parent_, caption, text);
            break;
        case comms::MessageIcon::Warning:
            QMessageBox::warning(parent_, caption, text);
            break;
        case comms::MessageIcon::Error:
            QMessageBox::critical(parent_, caption, text);
            break;
    }
}

}  // namespace qelto::app
