// Runs qeltoctl the way an outside checker would, and compares its JSON records field by field.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/test_env.h"

namespace qelto::test {

ProcessResult runQeltoctl(const std::vector<std::string>& args);

struct ShowResult {
    ProcessResult run;
    nlohmann::json json;  // discarded when stdout is not one JSON value
};

// `qeltoctl show FILE --json`.
ShowResult showDocument(const std::filesystem::path& file);

// The value at a JSON pointer ("/config/pin/0"), null when there is none.
nlohmann::json valueAt(const nlohmann::json& json, const std::string& pointer);

// Succeeds when the two JSON values are equal, otherwise names the places that differ
// ("/config/programs/3/4/5/dose" replaced by 0).
::testing::AssertionResult sameJson(const nlohmann::json& expected, const nlohmann::json& actual);

}  // namespace qelto::test
