// What every qeltoctl command starts from: the user's settings, the language catalog, the
// chemical-name catalogue and one document over one configuration record.
#pragma once

#include <memory>
#include <string>

#include "model/chemical_catalogue.h"
#include "model/prog_data.h"
#include "model/qelto_doc.h"
#include "platform/language_catalog.h"
#include "platform/settings_store.h"

namespace qelto::cli {

class CliContext {
  public:
    // Loads settings and the catalog of the "Language" setting (or of languageOverride when it is
    // nonzero). Problems that do not stop the command are reported on stderr.
    explicit CliContext(int languageOverride = 0);

    platform::Settings settings;
    platform::LanguageCatalog language;
    model::ChemicalCatalogue catalogue;
    model::CProgData config;
    model::CQeltoDoc doc;

    // A catalog text for the terminal.
    std::string text(int id) const { return language.text(id); }
};

// Messages go to stderr, each line prefixed with the program name, so standard output carries only
// a command's results. Errors and warnings always show; notes, outcomes said in words and progress
// are left out under --quiet.
void printError(const std::string& message);
void printNote(const std::string& message);
void printMessage(const std::string& message);
void setQuiet(bool quiet);
bool quiet();

}  // namespace qelto::cli
