#include "cli/cli_context.h"

#include <fmt/format.h>

#include <cstdio>

#include "platform/builtin_catalog.h"
#include "platform/user_paths.h"

namespace qelto::cli {
namespace {

platform::LanguageCatalog loadLanguage(int setting) {
    if (auto catalog = platform::LanguageCatalog::loadForSetting(setting)) {
        return std::move(*catalog);
    }
    const platform::LanguageInfo* info = platform::findLanguage(setting);
    printNote(fmt::format(
        "cannot load the language catalog {} from {}; using the built-in English "
        "texts (set QELTO_LANG_DIR to the folder of the catalogs)",
        info != nullptr ? info->fileName : "LangEN.po", platform::languageDir().string()));
    return platform::LanguageCatalog::parse(platform::builtinEnglishCatalog());
}

}  // namespace

void printError(const std::string& message) {
    std::fprintf(stderr, "qeltoctl: %s\n", message.c_str());
}

void printNote(const std::string& message) {
    std::fprintf(stderr, "qeltoctl: note: %s\n", message.c_str());
}

CliContext::CliContext(int languageOverride)
    : settings(platform::SettingsStore().load()),
      language(loadLanguage(languageOverride != 0 ? languageOverride : settings.language)),
      catalogue(platform::chemicalCatalogueFile(), language.text(377), language.text(386)),
      doc(config, catalogue) {
    doc.onNewDocument();
}

}  // namespace qelto::cli
