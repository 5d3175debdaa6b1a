#include "cli/document_io.h"

#include <fmt/format.h>

#include <filesystem>
#include <system_error>

namespace qelto::cli {

bool openDocument(CliContext& ctx, const std::string& file, std::string* tag) {
    const model::OpenResult result = ctx.doc.OnOpenDocument(file);
    if (!result.ok()) {
        printError(result.detail);
        return false;
    }
    if (result.messageId != 0) {
        printNote(fmt::format("{}: {}", file, ctx.text(result.messageId)));
    }
    if (tag != nullptr) {
        *tag = result.tag;
    }
    return true;
}

bool canSaveInto(const std::string& file) {
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::absolute(file, ec).parent_path();
    if (!std::filesystem::is_directory(dir, ec)) {
        printError(fmt::format("cannot save {}: the folder {} does not exist", file, dir.string()));
        return false;
    }
    return true;
}

bool saveDocument(CliContext& ctx, const std::string& file) {
    const model::SaveResult result = ctx.doc.OnSaveDocument(file);
    if (!result.ok) {
        printError(result.detail);
        return false;
    }
    if (result.path != std::filesystem::path(file)) {
        printNote(fmt::format("saved as {} (documents are written with the .qlf extension)",
                              result.path.string()));
    }
    return true;
}

}  // namespace qelto::cli
