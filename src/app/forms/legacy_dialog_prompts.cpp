#include "app/forms/legacy_dialog_prompts.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

#include "app/forms/form_fields.h"
#include "model/unit_types.h"

namespace qelto::app::forms {
namespace {

// Text numbers of the password dialog.
constexpr int kTextPasswordTitle = 3600;
constexpr int kTextPasswordLabel = 3601;

QMessageBox::Icon boxIcon(legacy::LegacyIcon icon) {
    switch (icon) {
        case legacy::LegacyIcon::Warning:
            return QMessageBox::Warning;
        case legacy::LegacyIcon::Error:
            return QMessageBox::Critical;
        case legacy::LegacyIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

}  // namespace

LegacyDialogPrompts::LegacyDialogPrompts(const platform::LanguageCatalog& texts, QWidget* parent)
    : texts_(texts), parent_(parent) {}

template <typename Result, typename Ask>
Result LegacyDialogPrompts::onGuiThread(Result fallback, Ask ask) {
    QWidget* parent = parent_.data();
    if (abandoned_ || parent == nullptr) {
        return fallback;
    }
    if (QThread::currentThread() == parent->thread()) {
        return ask(parent);
    }
    // A call still queued when the form goes away is dropped by the form (see
    // LegacyOperationRunner), which releases this thread with the fallback answer.
    Result result = fallback;
    QMetaObject::invokeMethod(
        parent, [&ask, parent] { return ask(parent); }, Qt::BlockingQueuedConnection, &result);
    return result;
}

std::optional<std::int16_t> LegacyDialogPrompts::askPassword() {
    return onGuiThread<std::optional<std::int16_t>>(
        std::nullopt, [this](QWidget* parent) -> std::optional<std::int16_t> {
            bool ok = false;
            // The units compare the password as a 16-bit word.
            const int value =
                QInputDialog::getInt(parent, catalogText(texts_, kTextPasswordTitle),
                                     catalogText(texts_, kTextPasswordLabel), 0, 0, 65535, 1, &ok);
            if (!ok) {
                return std::nullopt;
            }
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
        });
}

bool LegacyDialogPrompts::askYesNo(int textId) {
    return onGuiThread<bool>(false, [this, textId](QWidget* parent) {
        return QMessageBox::question(parent, QStringLiteral("Qelto"), catalogText(texts_, textId),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
}

void LegacyDialogPrompts::message(int textId, legacy::LegacyIcon icon,
                                  std::optional<legacy::UnitNameText> unit) {
    QString text = catalogText(texts_, textId);
    if (unit) {
        const QString name = unitName(texts_, *unit);
        text = text.contains(QStringLiteral("%s"))
                   ? text.replace(text.indexOf(QStringLiteral("%s")), 2, name)
                   : text + QStringLiteral(" (") + name + QStringLiteral(")");
    }
    onGuiThread<bool>(false, [text, icon](QWidget* parent) {
        QMessageBox box(boxIcon(icon), QStringLiteral("Qelto"), text, QMessageBox::Ok, parent);
        box.exec();
        return true;
    });
}

QString LegacyDialogPrompts::unitName(const platform::LanguageCatalog& texts,
                                      const legacy::UnitNameText& unit) {
    if (unit.textId != 0) {
        if (auto found = texts.find(unit.textId)) {
            return QString::fromStdString(*found);
        }
    }
    return QString::fromStdString(model::unitModelName(unit.typeCode));
}

}  // namespace qelto::app::forms
