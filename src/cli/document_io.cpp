#include "cli/document_io.h"

#include <fmt/format.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"

namespace qelto::cli {

bool openDocument(CliContext& ctx, const std::string& file, std::string* tag) {
    const model::OpenResult result = ctx.doc.onOpenDocument(file);
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
    std::string error;
    if (!platform::canReplaceFile(file, &error)) {
        printError(error);
        return false;
    }
    return true;
}

bool canSaveDocument(const std::string& file) {
    return canSaveInto(model::CQeltoDoc::savePathFor(file).string());
}

bool isSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0) {
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    }
    std::error_code ec;
    const auto place = [&ec](const std::string& name) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(name, ec), ec);
    };
    return place(a) == place(b);
}

bool saveDocument(CliContext& ctx, const std::string& file) {
    const model::SaveResult result = ctx.doc.onSaveDocument(file);
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
