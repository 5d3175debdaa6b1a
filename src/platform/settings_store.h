// The per-user settings of Qelto, shared by the desktop application and qeltoctl: section
// "Settings" of an INI file in the per-user config folder (see user_paths.h).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qelto::platform {

// The port a fresh installation talks to: the first USB-serial adapter, or COM1 on Windows.
#ifdef _WIN32
inline constexpr const char* kDefaultSerialPort = "COM1";
#else
inline constexpr const char* kDefaultSerialPort = "/dev/ttyUSB0";
#endif

// The "Language" setting of American English: US units, month-first dates and flows in
// hundredths of a fluid ounce.
inline constexpr int kAmericanEnglish = 8;

struct Settings {
    int maximized = 0;  // "Maximized"
    std::array<std::int32_t, 4>
        frameRect{};  // "FrameRect": left, top, right, bottom; all 0 = empty
    std::string serPort = kDefaultSerialPort;  // "SerPort"
    int progressBars = 1;                      // "ProgressBars"
    int usbSpeedThrottle = 0;                  // "USBSpeedThrottle", in 10 ms steps
    int language = 0;                          // "Language"; 0 = never chosen
    std::string batchName;                     // "BatchName"
    std::uint32_t batchSize = 0;               // "BatchSize"
    std::uint32_t batchCounter = 0;            // "BatchCounter"
    std::string logDirectory;                  // "LogDirectory"
    int historyBackup = 1;  // "HistoryBackup": read the unit into the unit history before a write
};

class SettingsStore {
  public:
    // The store at settingsFile().
    SettingsStore();
    explicit SettingsStore(std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }

    // Every key, each at its default when missing or unreadable.
    Settings load() const;

    // Writes every key; false with error filled (file and reason) on failure.
    bool save(const Settings& settings, std::string* error = nullptr) const;

    // Writes "Language" alone, as the language dialog does.
    bool saveLanguage(int language, std::string* error = nullptr) const;

    // The most recently used documents, newest first, in section "Recent File List" as "File1"
    // ... "File16". Empty entries are skipped; at most kRecentFileCount are kept.
    static constexpr std::size_t kRecentFileCount = 16;
    std::vector<std::string> loadRecentFiles() const;
    bool saveRecentFiles(const std::vector<std::string>& files, std::string* error = nullptr) const;

  private:
    std::filesystem::path file_;
};

}  // namespace qelto::platform
