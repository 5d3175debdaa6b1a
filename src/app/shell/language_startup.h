// Choosing and loading the catalog at start-up, with the questions an engineer gets when the
// catalog of the chosen language is missing.
#pragma once

#include <functional>
#include <optional>

#include "platform/language_catalog.h"

namespace qelto::app {

class ShellPrompts;

using CatalogLoader = std::function<std::optional<platform::LanguageCatalog>(int language)>;

struct StartupLanguage {
    std::optional<platform::LanguageCatalog> catalog;  // nullopt: start-up must end
    int language = 1;            // the "Language" setting after the load (never 0 or unknown)
    bool firstRun = false;       // no language was ever chosen: the language dialog follows
    bool storeLanguage = false;  // the setting was corrected and must be written back
};

// An unknown setting (0 included) loads English and becomes 1. A catalog that does not load
// offers English instead; English comes from the program itself when even its file is missing.
StartupLanguage loadStartupLanguage(
    int storedLanguage, ShellPrompts& prompts,
    const CatalogLoader& loader = platform::LanguageCatalog::loadForSetting);

}  // namespace qelto::app
