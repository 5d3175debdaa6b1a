#include "platform/user_paths.h"

#include <cstdlib>

#include "platform/user_folders.h"

namespace qelto::platform {
namespace {

const char* nonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? value : nullptr;
}

}  // namespace

std::filesystem::path configDir() {
    return userConfigFolder();
}

std::filesystem::path settingsFile() {
    return configDir() / "Qelto.conf";
}

std::filesystem::path chemicalCatalogueFile() {
    return configDir() / "qelto.ini";
}

std::filesystem::path dataHome() {
    return userDataFolder();
}

std::filesystem::path historyFile() {
    if (const char* file = nonEmptyEnv("QELTO_HISTORY")) {
        return file;
    }
    return dataHome() / "history.sqlite";
}

std::filesystem::path languageDir() {
    if (const char* dir = nonEmptyEnv("QELTO_LANG_DIR")) {
        return dir;
    }
    auto installed = installedFolder("lang");
    return installed.empty() ? std::filesystem::path(QELTO_SOURCE_LANG_DIR) : installed;
}

std::filesystem::path dataDir() {
    if (const char* dir = nonEmptyEnv("QELTO_DATA_DIR")) {
        return dir;
    }
    auto installed = installedFolder("data");
    return installed.empty() ? std::filesystem::path(QELTO_SOURCE_DATA_DIR) : installed;
}

}  // namespace qelto::platform
