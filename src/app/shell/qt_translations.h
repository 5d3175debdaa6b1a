// Qt's own texts (standard buttons, the file dialog) and the formats of dates and numbers follow
// the language the engineer chose, so a German window says "Abbrechen" and 07.12.2026.
#pragma once

namespace qelto::app {

// Call once the language is known, before any window exists; language is the "Language" setting.
// Without Qt's translation files installed the standard dialogs stay in English.
void useLanguageInQt(int language);

}  // namespace qelto::app
