// Whether report export may count on the spreadsheet template.
#pragma once

#include <filesystem>
#include <string>

namespace qelto::app {

// The template file fileName in dataDir exists and can be read. Export copies the template and
// fills the copy, so a read-only installed template is good enough here.
bool spreadsheetTemplateAvailable(const std::filesystem::path& dataDir,
                                  const std::string& fileName);

}  // namespace qelto::app
