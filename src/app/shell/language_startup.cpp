#include "app/shell/language_startup.h"

#include <QString>

#include "app/shell/shell_prompts.h"
#include "platform/builtin_catalog.h"

namespace qelto::app {

StartupLanguage loadStartupLanguage(int storedLanguage, ShellPrompts& prompts,
                                    const CatalogLoader& loader) {
    StartupLanguage result;
    result.firstRun = storedLanguage == 0;
    result.language = platform::findLanguage(storedLanguage) != nullptr ? storedLanguage : 1;
    result.storeLanguage = result.language != storedLanguage;

    result.catalog = loader(result.language);
    if (result.catalog) {
        return result;
    }
    // No catalog is loaded yet, so these texts cannot come from one.
    bool english = false;
    if (result.language != 1) {
        english = prompts.askYesNo(
            {QStringLiteral("***ERROR*** Could not load LangDLL[%1]\nDefault to English?")
                 .arg(result.language)
                 .toStdString(),
             {}});
    } else {
        prompts.warn(nullptr,
                     QStringLiteral("***ERROR*** Could not load LangDLL[%1]").arg(result.language));
        english = true;
    }
    if (english) {
        // English is compiled in, so a damaged installation still starts in English.
        result.catalog = loader(1);
        if (!result.catalog) {
            result.catalog = platform::LanguageCatalog::parse(platform::builtinEnglishCatalog());
        }
        return result;
    }
    prompts.warn(nullptr, QStringLiteral("Could not load language table LangXX.dll\nContact your "
                                         "distributor for help."));
    prompts.warn(nullptr, QStringLiteral("Failed to load language DLL"));
    return result;
}

}  // namespace qelto::app
