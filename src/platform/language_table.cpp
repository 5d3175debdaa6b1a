#include <array>

#include "platform/language_catalog.h"

namespace qelto::platform {
namespace {

// Languages without a confirmation text of their own show the English one (2570).
constexpr std::array<LanguageInfo, 10> kLanguages{{
    {1, "English", "LangEN.po", 2570, "English", "en_GB"},
    {2, "Spanish", "LangSPA.po", 2571, "Español", "es_ES"},
    {3, "French", "LangFRA.po", 2573, "Français", "fr_FR"},
    {4, "German", "LangGER.po", 2572, "Deutsch", "de_DE"},
    {5, "Italian", "LangITA.po", 413, "Italiano", "it_IT"},
    {6, "Czech", "LangCZE.po", 414, "Čeština", "cs_CZ"},
    {7, "Polish", "LangPLK.po", 415, "Polski", "pl_PL"},
    {8, "American English", "LangUS.po", 2570, "English (United States)", "en_US"},
    {9, "Dutch", "LangNED.po", 441, "Nederlands", "nl_NL"},
    {10, "Portuguese", "LangPT.po", 2570, "Português", "pt_PT"},
}};

}  // namespace

const LanguageInfo* findLanguage(int value) {
    if (value < 1 || value > static_cast<int>(kLanguages.size())) {
        return nullptr;
    }
    return &kLanguages[static_cast<std::size_t>(value - 1)];
}

}  // namespace qelto::platform
