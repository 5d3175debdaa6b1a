// Opening and saving the document of a qeltoctl command, with what went wrong (and the notices an
// engineer should see) on stderr.
#pragma once

#include <string>

#include "cli/cli_context.h"

namespace qelto::cli {

// Opens a document into ctx.doc; tag, when given, receives its format tag.
bool openDocument(CliContext& ctx, const std::string& file, std::string* tag = nullptr);

// Whether a save could write this file: its folder exists and takes new files, and the name is
// free or a regular file that may be replaced (never a folder, device or pipe). Says why not on
// stderr. Whatever a unit gives is wasted when it cannot be saved, so commands ask before they
// touch one.
bool canSaveInto(const std::string& file);
// The same for the file a document save writes (".qcf" names are saved as ".qlf").
bool canSaveDocument(const std::string& file);

// Whether two names lead to the same file: the same file on disk when both exist (through links,
// other spellings and hard links), otherwise the same place once made absolute.
bool isSameFile(const std::string& a, const std::string& b);

// Saves ctx.doc, saying so when the name changed to the .qlf extension.
bool saveDocument(CliContext& ctx, const std::string& file);

}  // namespace qelto::cli
