// Opening and saving the document of a qeltoctl command, with what went wrong (and the notices an
// engineer should see) on stderr.
#pragma once

#include <string>

#include "cli/cli_context.h"

namespace qelto::cli {

// Opens a document into ctx.doc; tag, when given, receives its format tag.
bool openDocument(CliContext& ctx, const std::string& file, std::string* tag = nullptr);

// Whether a file can be created under this name (its folder exists); says why not on stderr. A
// read that cannot be saved is wasted on the unit, so commands ask before they start one.
bool canSaveInto(const std::string& file);

// Saves ctx.doc, saying so when the name changed to the .qlf extension.
bool saveDocument(CliContext& ctx, const std::string& file);

}  // namespace qelto::cli
