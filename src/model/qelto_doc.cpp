#include "model/qelto_doc.h"

#include <fmt/format.h>

#include "model/archive.h"
#include "model/document_format.h"
#include "model/unit_types.h"
#include "platform/atomic_file.h"

namespace qelto::model {
namespace {

CProgData::FormatFlags flagsOf(const DocumentFormat& f) {
    CProgData::FormatFlags flags;
    flags.firstFormat = f.firstFormat;
    flags.names = f.names;
    flags.tenPumps = f.tenPumps;
    flags.dose = f.tenPumps;
    flags.flushType = f.flushType;
    flags.extension = f.extension;
    flags.pulseFix = f.pulseFix;
    flags.description = f.description;
    flags.resetTo = f.resetTo;
    return flags;
}

}  // namespace

CQeltoDoc::CQeltoDoc(CProgData& config, const PumpNameDefaults& pumpNames)
    : config_(config), pumpNames_(pumpNames) {}

void CQeltoDoc::updateAllViews(DocHint hint) {
    if (hintListener_) {
        hintListener_(hint);
    }
}

void CQeltoDoc::deleteContents() {
    config_.ResetAll(pumpNames_);
    triggerCount_ = 10;
    dishwash_.Reset(0, 0);
    updateAllViews(DocHint::ContentsDeleted);
}

void CQeltoDoc::onNewDocument() {
    deleteContents();
    path_.clear();
    modified_ = false;
    viewToShow_ = 0;
    pumpCount_ = 4;
    updateAllViews(DocHint::NewDocument);
}

OpenResult CQeltoDoc::onOpenDocument(const std::filesystem::path& path) {
    std::string bytes;
    std::string error;
    if (!platform::readWholeFile(path, bytes, &error)) {
        return {OpenStatus::CannotRead, {}, 0, error};
    }
    OpenResult result =
        loadFromBytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                      path.string());
    if (result.ok()) {
        path_ = path;
    }
    return result;
}

OpenResult CQeltoDoc::loadFromBytes(std::span<const std::uint8_t> bytes, const std::string& name) {
    // Load into copies and take them over only when the whole file has been read. Starting from a
    // copy keeps the batch members and the unit's own bytes that a reset leaves alone.
    CProgData loaded = config_;
    loaded.ResetAll(pumpNames_);
    CDishWashViewData dishwash;
    dishwash.Reset(0, 0);
    std::uint32_t view = 0;

    Archive ar = Archive::forLoading(bytes);
    OpenResult result;
    try {
        ar.transferString(result.tag);
    } catch (const ArchiveEndOfFile&) {
        return {OpenStatus::UnknownFormat,
                {},
                kMsgUnknownFormat,
                fmt::format("cannot open {}: it is not a Qelto document (it is empty or too short)",
                            name)};
    }
    const DocumentFormat* format = findDocumentFormat(result.tag);
    if (format == nullptr) {
        result.status = OpenStatus::UnknownFormat;
        result.messageId = kMsgUnknownFormat;
        result.detail = fmt::format(
            "cannot open {}: it is not a Qelto document, or one of a newer version (format tag "
            "not recognised)",
            name);
        return result;
    }

    try {
        loaded.setFormatFlags(flagsOf(*format));
        loaded.Serialize(ar);
        if (format->hasDishWash) {
            dishwash.DW_NamesFormat = format->names ? 1 : 0;
            dishwash.Serialize(ar, view);
        }
    } catch (const ArchiveEndOfFile& eof) {
        result.status = OpenStatus::Truncated;
        result.detail = fmt::format(
            "cannot open {}: the file is damaged or incomplete (it ends at byte {}, before the {} "
            "document does)",
            name, eof.offset(), result.tag);
        return result;
    }

    config_ = std::move(loaded);
    dishwash_ = std::move(dishwash);
    viewToShow_ = view;
    formatTag_ = currentDocumentFormat().tag;
    triggerCount_ = 10;
    pumpCount_ = unitPumpCount(config_.unitType);
    modified_ = format->oldFormat;
    if (format->oldFormat) {
        result.messageId = kMsgOlderFormat;
    }
    updateAllViews(DocHint::ContentsDeleted);
    updateAllViews(DocHint::Opened);
    return result;
}

std::vector<std::uint8_t> CQeltoDoc::storeToBytes() {
    const DocumentFormat& format = currentDocumentFormat();
    Archive ar = Archive::forStoring();
    std::string tag = format.tag;
    ar.transferString(tag);
    config_.setFormatFlags(flagsOf(format));
    config_.Serialize(ar);
    dishwash_.DW_NamesFormat = 1;
    std::uint32_t view = activeView_;
    dishwash_.Serialize(ar, view);
    formatTag_ = format.tag;
    return ar.stored();
}

std::filesystem::path CQeltoDoc::savePathFor(const std::filesystem::path& path) {
    // Only the file name is changed: a folder that happens to contain ".qcf" stays where it is.
    std::string name = path.filename().string();
    for (std::size_t at = name.find(".qcf"); at != std::string::npos; at = name.find(".qcf", at)) {
        name.replace(at, 4, ".qlf");
    }
    return path.has_filename() ? path.parent_path() / name : path;
}

SaveResult CQeltoDoc::onSaveDocument(const std::filesystem::path& path) {
    updateAllViews(DocHint::PushEdits);
    SaveResult result;
    result.path = savePathFor(path);
    const std::vector<std::uint8_t> bytes = storeToBytes();
    result.ok = platform::writeFileAtomically(
        result.path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        &result.detail);
    if (result.ok) {
        path_ = result.path;
        modified_ = false;
    }
    return result;
}

bool CQeltoDoc::ClearProgram(std::uint8_t program) {
    if (!config_.ClearProgram(program)) {
        return false;
    }
    setModifiedFlag();
    return true;
}

}  // namespace qelto::model
