// Private profile (INI) files with the semantics engineers know from Windows tools: sections and
// keys match without regard to letter case, section names are literal (spaces and all), and a
// write changes one value in place and keeps every other line of the file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::platform {

// The text of one profile file held in memory: its lines, exactly as read, so that writing it
// back reproduces every line that was not changed. Parsing never fails; lines that are neither a
// section header nor a key=value pair are kept and ignored.
class ProfileText {
  public:
    ProfileText() = default;
    explicit ProfileText(std::string_view text);

    // The value of key in section, trimmed of surrounding blanks (and of one pair of enclosing
    // double quotes, as the Windows reader does), or nullopt when the section or key is missing.
    // The first matching section and the first matching key in it win.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // Sets key in section to value: replaces the value of an existing key in place, otherwise
    // adds "key=value" at the end of the section, adding the section at the end when missing.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // Removes key from section; does nothing when it is missing.
    void remove(std::string_view section, std::string_view key);

    // The names of the keys of a section, in file order.
    std::vector<std::string> keys(std::string_view section) const;

    // The whole text, with the line ending the file used ("\r\n" when its first line ended so,
    // "\n" otherwise).
    std::string text() const;

  private:
    std::vector<std::string> lines_;  // without their line endings
    bool crlf_ = false;
    bool finalNewline_ = true;
};

// A profile file on disk. Every call reads the file afresh and every write replaces it atomically
// (temporary file in the same folder, then rename), so two programs that share the file (the
// desktop application and qeltoctl) never see a half-written one.
class ProfileFile {
  public:
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // GetPrivateProfileString: the value, or fallback when the file, section or key is missing.
    // Values longer than bufferSize - 1 bytes are cut to that length, as a fixed read buffer of
    // that size would.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback = {}, std::size_t bufferSize = 800) const;

    // GetPrivateProfileInt: leading blanks, an optional sign, then decimal digits; a value that
    // does not start with a number reads as 0, a missing one as fallback.
    std::int64_t readInt(std::string_view section, std::string_view key,
                         std::int64_t fallback) const;

    // WritePrivateProfileString: creates the file (and its folder) when missing. Returns false and
    // fills error with a sentence that names the file and the reason when the write fails.
    bool writeString(std::string_view section, std::string_view key, std::string_view value,
                     std::string* error = nullptr) const;

    // Reads the whole file; an empty text when it is missing or unreadable.
    ProfileText load() const;

    // Writes the whole text atomically; false with error filled on failure.
    bool store(const ProfileText& text, std::string* error = nullptr) const;

  private:
    std::filesystem::path path_;
};

}  // namespace qelto::platform
