#include "platform/settings_store.h"

#include <optional>
#include <utility>

#include "platform/profile_file.h"
#include "platform/profile_io.h"
#include "platform/text_encoding.h"
#include "platform/user_paths.h"

namespace qelto::platform {
namespace {

constexpr std::string_view kSection = "Settings";
constexpr std::string_view kRecentSection = "Recent File List";

std::string recentKey(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

// The settings once lived in the registry, which has no 800-byte read buffer; a long log folder
// path must come back whole.
constexpr std::size_t kTextBuffer = 65536;

// The frame rectangle is a 16-byte block: four little-endian int32 (left, top, right, bottom),
// stored as 32 lowercase hex digits.
std::string rectToHex(const std::array<std::int32_t, 4>& rect) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::int32_t value : rect) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int byte = 0; byte < 4; ++byte) {
            const auto b = (bits >> (8 * byte)) & 0xffu;
            hex += kDigits[b >> 4];
            hex += kDigits[b & 0xfu];
        }
    }
    return hex;
}

std::optional<std::array<std::int32_t, 4>> rectFromHex(std::string_view hex) {
    if (hex.size() != 32) {
        return std::nullopt;
    }
    std::array<std::int32_t, 4> rect{};
    for (std::size_t field = 0; field < 4; ++field) {
        std::uint32_t bits = 0;
        for (std::size_t byte = 0; byte < 4; ++byte) {
            const int high = hexDigitValue(hex[field * 8 + byte * 2]);
            const int low = hexDigitValue(hex[field * 8 + byte * 2 + 1]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            bits |= static_cast<std::uint32_t>(high * 16 + low) << (8 * byte);
        }
        rect[field] = static_cast<std::int32_t>(bits);
    }
    return rect;
}

// The reader trims blanks and one pair of enclosing quotes, so a value that has either is
// quoted to come back unchanged.
std::string quotedIfNeeded(std::string_view value) {
    const bool blankEdge = !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                              value.back() == ' ' || value.back() == '\t');
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (blankEdge || quoted) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

template <typename T>
T readBounded(const ProfileFile& file, std::string_view key, T fallback) {
    const std::int64_t value = file.readInt(kSection, key, static_cast<std::int64_t>(fallback));
    return std::in_range<T>(value) ? static_cast<T>(value) : fallback;
}

}  // namespace

SettingsStore::SettingsStore() : file_(settingsFile()) {}

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

Settings SettingsStore::load() const {
    const ProfileFile file(file_);
    Settings s;
    s.maximized = readBounded(file, "Maximized", s.maximized);
    if (auto rect = rectFromHex(file.readString(kSection, "FrameRect", {}, kTextBuffer))) {
        s.frameRect = *rect;
    }
    s.serPort = file.readString(kSection, "SerPort", s.serPort, kTextBuffer);
    s.progressBars = readBounded(file, "ProgressBars", s.progressBars);
    s.usbSpeedThrottle = readBounded(file, "USBSpeedThrottle", s.usbSpeedThrottle);
    s.language = readBounded(file, "Language", s.language);
    s.batchName = file.readString(kSection, "BatchName", s.batchName, kTextBuffer);
    s.batchSize = readBounded(file, "BatchSize", s.batchSize);
    s.batchCounter = readBounded(file, "BatchCounter", s.batchCounter);
    s.logDirectory = file.readString(kSection, "LogDirectory", s.logDirectory, kTextBuffer);
    s.historyBackup = readBounded(file, "HistoryBackup", s.historyBackup);
    return s;
}

bool SettingsStore::save(const Settings& settings, std::string* error) const {
    std::string bytes;
    if (!readProfileBytes(file_, bytes, error)) {
        return false;
    }
    ProfileText text(bytes);
    text.set(kSection, "Maximized", std::to_string(settings.maximized));
    text.set(kSection, "FrameRect", rectToHex(settings.frameRect));
    text.set(kSection, "SerPort", quotedIfNeeded(settings.serPort));
    text.set(kSection, "ProgressBars", std::to_string(settings.progressBars));
    text.set(kSection, "USBSpeedThrottle", std::to_string(settings.usbSpeedThrottle));
    text.set(kSection, "Language", std::to_string(settings.language));
    text.set(kSection, "BatchName", quotedIfNeeded(settings.batchName));
    text.set(kSection, "BatchSize", std::to_string(settings.batchSize));
    text.set(kSection, "BatchCounter", std::to_string(settings.batchCounter));
    text.set(kSection, "LogDirectory", quotedIfNeeded(settings.logDirectory));
    text.set(kSection, "HistoryBackup", std::to_string(settings.historyBackup));
    return ProfileFile(file_).store(text, error);
}

bool SettingsStore::saveLanguage(int language, std::string* error) const {
    return ProfileFile(file_).writeString(kSection, "Language", std::to_string(language), error);
}

std::vector<std::string> SettingsStore::loadRecentFiles() const {
    const ProfileText text = ProfileFile(file_).load();
    std::vector<std::string> files;
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        if (auto name = text.find(kRecentSection, recentKey(i)); name && !name->empty()) {
            files.push_back(std::move(*name));
        }
    }
    return files;
}

bool SettingsStore::saveRecentFiles(const std::vector<std::string>& files,
                                    std::string* error) const {
    std::string bytes;
    if (!readProfileBytes(file_, bytes, error)) {
        return false;
    }
    ProfileText text(bytes);
    // A shorter list must not leave the tail of a longer one behind.
    for (const std::string& key : text.keys(kRecentSection)) {
        text.remove(kRecentSection, key);
    }
    for (std::size_t i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        text.set(kRecentSection, recentKey(i), quotedIfNeeded(files[i]));
    }
    return ProfileFile(file_).store(text, error);
}

}  // namespace qelto::platform
