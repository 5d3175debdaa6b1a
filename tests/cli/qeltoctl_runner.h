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

// Every place where `actual` differs from `expected`, as "config.programs[3][4][5].dose:
// expected 7, got 0" (at most `limit` lines, then a count of the rest).
std::vector<std::string> jsonDifferences(const nlohmann::json& expected,
                                         const nlohmann::json& actual, std::size_t limit = 40);

// Succeeds when the two JSON values are equal, otherwise names the fields that differ.
::testing::AssertionResult sameJson(const nlohmann::json& expected, const nlohmann::json& actual);

}  // namespace qelto::test
