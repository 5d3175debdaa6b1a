#include "app/shell/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/language_catalog.h"

namespace qelto::app {

void useLanguageInQt(int language) {
    const platform::LanguageInfo* info = platform::findLanguage(language);
    if (info == nullptr || QCoreApplication::instance() == nullptr) {
        return;
    }
    const QLocale locale(QString::fromLatin1(info->locale));
    QLocale::setDefault(locale);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace qelto::app
