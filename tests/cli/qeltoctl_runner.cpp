#include "qeltoctl_runner.h"

#include <set>

namespace qelto::test {
namespace {

void collectDifferences(const nlohmann::json& expected, const nlohmann::json& actual,
                        const std::string& path, std::vector<std::string>& out,
                        std::size_t& total) {
    if (expected == actual) {
        return;
    }
    const auto report = [&](const std::string& what) {
        ++total;
        out.push_back(path + ": " + what);
    };
    if (expected.is_object() && actual.is_object()) {
        std::set<std::string> keys;
        for (const auto& item : expected.items()) {
            keys.insert(item.key());
        }
        for (const auto& item : actual.items()) {
            keys.insert(item.key());
        }
        for (const auto& key : keys) {
            const std::string child = path.empty() ? key : path + "." + key;
            if (!actual.contains(key)) {
                ++total;
                out.push_back(child + ": missing (expected " + expected[key].dump() + ")");
            } else if (!expected.contains(key)) {
                ++total;
                out.push_back(child + ": not expected (got " + actual[key].dump() + ")");
            } else {
                collectDifferences(expected[key], actual[key], child, out, total);
            }
        }
        return;
    }
    if (expected.is_array() && actual.is_array() && expected.size() == actual.size()) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            collectDifferences(expected[i], actual[i], path + "[" + std::to_string(i) + "]", out,
                               total);
        }
        return;
    }
    report("expected " + expected.dump() + ", got " + actual.dump());
}

}  // namespace

ProcessResult runQeltoctl(const std::vector<std::string>& args) {
    std::vector<std::string> argv{QELTOCTL_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProcess(argv);
}

ShowResult showDocument(const std::filesystem::path& file) {
    ShowResult result;
    result.run = runQeltoctl({"show", file.string(), "--json"});
    result.json = nlohmann::json::parse(result.run.out, nullptr, /*allow_exceptions=*/false);
    return result;
}

nlohmann::json valueAt(const nlohmann::json& json, const std::string& pointer) {
    const nlohmann::json::json_pointer at(pointer);
    return json.contains(at) ? json.at(at) : nlohmann::json();
}

std::vector<std::string> jsonDifferences(const nlohmann::json& expected,
                                         const nlohmann::json& actual, std::size_t limit) {
    std::vector<std::string> all;
    std::size_t total = 0;
    collectDifferences(expected, actual, "", all, total);
    if (all.size() > limit) {
        all.resize(limit);
        all.push_back("... and " + std::to_string(total - limit) + " more");
    }
    return all;
}

::testing::AssertionResult sameJson(const nlohmann::json& expected, const nlohmann::json& actual) {
    const auto differences = jsonDifferences(expected, actual);
    if (differences.empty()) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure();
    failure << differences.size() << " difference(s):";
    for (const auto& line : differences) {
        failure << "\n  " << line;
    }
    return failure;
}

}  // namespace qelto::test
