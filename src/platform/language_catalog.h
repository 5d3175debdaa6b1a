// The user-interface texts of one language, by number.
//
// Catalogs are gettext PO files under lang/ ("LangEN.po" ...). Each entry carries its string
// number as msgctxt and its text as msgstr (msgid holds the English text for translators' tools):
//
//   msgctxt "217"
//   msgid "This file is of an older format..."
//   msgstr "..."
//
// An empty msgstr falls back to msgid, as gettext does for untranslated entries.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qelto::platform {

struct LanguageInfo {
    int value;               // the "Language" setting that selects it (1..10)
    const char* name;        // English name of the language
    const char* fileName;    // catalog file name under lang/
    int confirmationId;      // string shown after the user chooses it
    const char* nativeName;  // the language's name in itself ("Deutsch"), UTF-8
    const char* locale;      // its locale ("de_DE"): dates, numbers and Qt's own translations
};

// The ten languages, in setting order (value 1 first).
const LanguageInfo* findLanguage(int value);  // nullptr for any other value

class LanguageCatalog {
  public:
    // Parses PO text. Malformed entries are skipped; parse never throws on bad input.
    static LanguageCatalog parse(std::string_view poText);

    // Loads a catalog file; nullopt when the file cannot be read.
    static std::optional<LanguageCatalog> load(const std::filesystem::path& file);

    // Loads the catalog of a "Language" setting from languageDir(); any value without a language
    // loads English. nullopt when the file is missing or unreadable.
    static std::optional<LanguageCatalog> loadForSetting(int languageSetting);

    // The text of string number id (UTF-8), or nullopt when the catalog lacks it.
    std::optional<std::string> find(int id) const;

    // The text of id, or "#<id>" when the catalog lacks it, so a missing text is visible but
    // never fatal.
    std::string text(int id) const;

    std::size_t size() const { return texts_.size(); }

  private:
    std::unordered_map<int, std::string> texts_;
};

}  // namespace qelto::platform
