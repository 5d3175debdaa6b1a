// Where Qelto keeps its per-user files on this platform.
#pragma once

#include <filesystem>

namespace qelto::platform {

// The company folder of the per-user configuration: $XDG_CONFIG_HOME/Halvercott, or
// ~/.config/Halvercott when XDG_CONFIG_HOME is unset or empty; %APPDATA%\Halvercott on Windows.
std::filesystem::path configDir();

// The settings store shared by qelto and qeltoctl: configDir()/Qelto.conf.
std::filesystem::path settingsFile();

// The chemical-name catalogue: configDir()/qelto.ini.
std::filesystem::path chemicalCatalogueFile();

// The company's folder of per-user data: $XDG_DATA_HOME/Halvercott/Qelto, or
// ~/.local/share/Halvercott/Qelto when XDG_DATA_HOME is unset, empty or relative;
// %LOCALAPPDATA%\Halvercott\Qelto on Windows.
std::filesystem::path dataHome();

// The unit history: $QELTO_HISTORY when set (the tests and a site that keeps it elsewhere),
// otherwise dataHome()/history.sqlite. Every front end asks here, so all of them record into and
// read the same file.
std::filesystem::path historyFile();

// The folder of the language catalogs: $QELTO_LANG_DIR when set; otherwise ../share/qelto/lang
// beside the running program when that exists (an installed program); otherwise the source
// tree's lang/ folder (a program run from its build tree). On Windows the installed folder is
// lang\ beside the .exe.
std::filesystem::path languageDir();

// The folder of the program's data files (the report export's spreadsheet template among them),
// found the same way: $QELTO_DATA_DIR, then ../share/qelto/data beside the running program, then
// the source tree's data/ folder.
std::filesystem::path dataDir();

}  // namespace qelto::platform
