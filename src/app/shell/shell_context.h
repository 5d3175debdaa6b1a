// What the window works on for the whole run: the settings, the texts, the chemical names, the
// one document over the one configuration record, and the one unit session (the units found, the
// communications log).
#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "app/shell/shell_texts.h"
#include "comms/unit_session.h"
#include "model/chemical_catalogue.h"
#include "model/prog_data.h"
#include "model/qelto_doc.h"
#include "platform/language_catalog.h"
#include "platform/settings_store.h"
#include "platform/user_paths.h"

namespace qelto::app {

// The unit the engineer chose in this window, by Find units or by running a command on it: later
// commands run on it at once.
struct ChosenUnit {
    std::size_t line = 0;  // its line in the session's list of units
    std::uint32_t serial = 0;
    std::string model;  // "L4"
    std::string where;  // "/dev/ttyUSB0", "USB", "/dev/ttyUSB0, RF channel 9"
};

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
    std::optional<ChosenUnit> chosenUnit;
    // The PIN that unlocked each unit (by serial number), given again without asking until the
    // unit refuses it or the window closes; never stored on disk.
    std::map<std::uint32_t, std::uint16_t> unitPins;
    bool commsLog = false;           // lives only as long as the process
    bool templateAvailable = false;  // report export can fill the spreadsheet template
};

}  // namespace qelto::app
