// Where Qelto keeps its per-user files on this platform.
#pragma once

#include <filesystem>

namespace qelto::platform {

// The company folder of the per-user configuration: $XDG_CONFIG_HOME/Halvercott, or
// ~/.config/Halvercott when XDG_CONFIG_HOME is unset or empty.
std::filesystem::path configDir();

// The settings store shared by qelto and qeltoctl: configDir()/Qelto.conf.
std::filesystem::path settingsFile();

// The chemical-name catalogue: configDir()/qelto.ini.
std::filesystem::path chemicalCatalogueFile();

// The folder of the language catalogs: $QELTO_LANG_DIR when set; otherwise ../share/qelto/lang
// beside the running program when that exists (an installed program); otherwise the source
// tree's lang/ folder (a program run from its build tree).
std::filesystem::path languageDir();

// The folder of the program's data files (the report export's spreadsheet template among them),
// found the same way: $QELTO_DATA_DIR, then ../share/qelto/data beside the running program, then
// the source tree's data/ folder.
std::filesystem::path dataDir();

}  // namespace qelto::platform
