// The application's one document: a configuration file on disk. The configuration record itself
// is shared with the rest of the program (the document resets, loads and saves it); the dishwash
// settings belong to the document.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/comms_copy.h"
#include "model/dishwash_data.h"
#include "model/prog_data.h"

namespace qelto::model {

// Refresh hints the document sends to the views.
enum class DocHint : int {
    PushEdits = 10,  // before a save: the views put their edits into the record
    NewDocument = 20,
    ContentsDeleted = 50,
    Opened = 60,
};

// The two dishwash editor views; a document saved with one of them active is a dishwash unit's.
inline constexpr std::uint32_t kDishwashSettingsView = 2;
inline constexpr std::uint32_t kDishwashEditorView = 4;
inline bool isDishwashView(std::uint32_t view) {
    return view == kDishwashSettingsView || view == kDishwashEditorView;
}

// String numbers of the messages a caller shows after an open.
inline constexpr int kMsgOlderFormat = 217;
inline constexpr int kMsgUnknownFormat = 218;

enum class OpenStatus {
    Ok,
    CannotRead,     // missing, unreadable, a folder...
    UnknownFormat,  // not a document, or one of a format we do not know
    Truncated,      // the file ends before the document does
};

struct OpenResult {
    OpenStatus status = OpenStatus::Ok;
    std::string tag;     // the format tag read, when one could be read
    int messageId = 0;   // kMsgOlderFormat after loading an old format; kMsgUnknownFormat
    std::string detail;  // for failures: a sentence naming the file and the reason
    bool ok() const { return status == OpenStatus::Ok; }
};

struct SaveResult {
    bool ok = false;
    std::filesystem::path path;  // the path written (".qcf" names become ".qlf")
    std::string detail;          // for failures: a sentence naming the file and the reason
};

class CQeltoDoc {
  public:
    CQeltoDoc(CProgData& config, const PumpNameDefaults& pumpNames);

    // Reset configuration and dishwash settings for a new, unnamed document.
    void onNewDocument();
    void deleteContents();

    // Reads a document file. A failed open leaves the record, the dishwash settings and the
    // document exactly as they were, so an engineer's unsaved work survives a bad file.
    OpenResult onOpenDocument(const std::filesystem::path& path);
    // The same from bytes already in memory; name is used in messages.
    OpenResult loadFromBytes(std::span<const std::uint8_t> bytes, const std::string& name);

    // Writes the document in the current format, atomically. The views first push their edits.
    SaveResult onSaveDocument(const std::filesystem::path& path);
    // The bytes a save writes.
    std::vector<std::uint8_t> storeToBytes();

    // The path a save writes for a given path: ".qcf" in the file name becomes ".qlf".
    static std::filesystem::path savePathFor(const std::filesystem::path& path);

    bool ClearProgram(std::uint8_t program);

    CProgData& config() { return config_; }
    const CProgData& config() const { return config_; }
    CDishWashViewData& dishwash() { return dishwash_; }
    const CDishWashViewData& dishwash() const { return dishwash_; }
    CommsCopy& commsCopy() { return commsCopy_; }
    const CommsCopy& commsCopy() const { return commsCopy_; }

    const std::string& formatTag() const { return formatTag_; }
    std::uint32_t pumpCount() const { return pumpCount_; }
    std::uint32_t triggerCount() const { return triggerCount_; }
    void setTriggerCount(std::uint32_t count) { triggerCount_ = count; }
    void setPumpCount(std::uint32_t count) { pumpCount_ = count; }

    bool isModified() const { return modified_; }
    void setModifiedFlag(bool modified = true) { modified_ = modified; }
    const std::filesystem::path& pathName() const { return path_; }
    // A document that came from elsewhere than its file (the unit history): Save asks for a name.
    void forgetPath() { path_.clear(); }

    // The editor view a save remembers (a dishwash view, 2 or 4, or 0) and the one a loaded
    // file asks to show.
    void setActiveView(std::uint32_t view) { activeView_ = view; }
    std::uint32_t viewToShow() const { return viewToShow_; }

    void notifyViews(DocHint hint) { updateAllViews(hint); }
    void setHintListener(std::function<void(DocHint)> listener) {
        hintListener_ = std::move(listener);
    }

  private:
    void updateAllViews(DocHint hint);

    CProgData& config_;
    const PumpNameDefaults& pumpNames_;
    CDishWashViewData dishwash_;
    CommsCopy commsCopy_;
    std::string formatTag_ = "QDo9";
    std::uint32_t pumpCount_ = 4;
    std::uint32_t triggerCount_ = 6;
    bool modified_ = false;
    std::filesystem::path path_;
    std::uint32_t activeView_ = 0;
    std::uint32_t viewToShow_ = 0;
    std::function<void(DocHint)> hintListener_;
};

}  // namespace qelto::model
