// The English catalog compiled into the program, so that a missing or damaged catalog folder never
// leaves the tool without texts (and never changes the word the chemical catalogue keys use).
#pragma once

#include <string_view>

namespace qelto::platform {

std::string_view builtinEnglishCatalog();

}  // namespace qelto::platform
