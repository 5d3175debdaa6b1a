// What the window works on for the whole run: the settings, the texts, the chemical names, the
// one document over the one configuration record, and the one unit session (the units found, the
// communications log).
#pragma once

#include <QString>

#include "app/shell/shell_texts.h"
#include "comms/unit_session.h"
#include "model/chemical_catalogue.h"
#include "model/prog_data.h"
#include "model/qelto_doc.h"
#include "platform/language_catalog.h"
#include "platform/settings_store.h"
#include "platform/user_paths.h"

namespace qelto::app {

struct ShellContext {
    ShellContext(platform::SettingsStore settingsStore, platform::Settings loaded,
                 platform::LanguageCatalog catalog)
        : store(std::move(settingsStore)),
          settings(std::move(loaded)),
          language(std::move(catalog)),
          catalogue(platform::chemicalCatalogueFile(), language.text(377), language.text(386)),
          doc(config, catalogue),
          units([this](int id) { return language.text(id); }) {
        doc.onNewDocument();
        units.configure(comms::sessionSettingsFrom(settings));
    }
    ShellContext(const ShellContext&) = delete;
    ShellContext& operator=(const ShellContext&) = delete;

    QString text(int id) const { return uiText(language, id); }

    platform::SettingsStore store;
    platform::Settings settings;
    platform::LanguageCatalog language;
    model::ChemicalCatalogue catalogue;
    model::CProgData config;
    model::CQeltoDoc doc;
    comms::UnitSession units;
    bool commsLog = false;           // lives only as long as the process
    bool templateAvailable = false;  // report export can fill the spreadsheet template
};

}  // namespace qelto::app
