#include "platform/language_catalog.h"

#include "platform/atomic_file.h"
#include "platform/po_reader.h"
#include "platform/text_helpers.h"
#include "platform/user_paths.h"

namespace qelto::platform {
namespace {

// String numbers are plain decimal; nine digits keep any of them inside an int.
std::optional<int> stringNumber(std::string_view context) {
    if (context.empty() || context.size() > 9) {
        return std::nullopt;
    }
    return digitsAt(context, 0, context.size());
}

}  // namespace

LanguageCatalog LanguageCatalog::parse(std::string_view poText) {
    LanguageCatalog catalog;
    po::readEntries(poText, [&catalog](const po::Entry& entry) {
        if (!entry.hasContext) {
            return;  // the header entry, or an entry that is not one of ours
        }
        const auto id = stringNumber(entry.context);
        if (!id) {
            return;
        }
        // Like gettext, an untranslated or fuzzy entry shows the English text of msgid.
        const bool translated = !entry.fuzzy && !entry.translation.empty();
        catalog.texts_.try_emplace(*id, translated ? entry.translation : entry.id);
    });
    return catalog;
}

std::optional<LanguageCatalog> LanguageCatalog::load(const std::filesystem::path& file) {
    std::string bytes;
    if (!readWholeFile(file, bytes)) {
        return std::nullopt;
    }
    return parse(bytes);
}

std::optional<LanguageCatalog> LanguageCatalog::loadForSetting(int languageSetting) {
    const LanguageInfo* language = findLanguage(languageSetting);
    if (language == nullptr) {
        language = findLanguage(1);
    }
    return load(languageDir() / language->fileName);
}

std::optional<std::string> LanguageCatalog::find(int id) const {
    const auto found = texts_.find(id);
    if (found == texts_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string LanguageCatalog::text(int id) const {
    return find(id).value_or("#" + std::to_string(id));
}

}  // namespace qelto::platform
