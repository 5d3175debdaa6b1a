#include "qeltoctl_runner.h"

namespace qelto::test {

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

::testing::AssertionResult sameJson(const nlohmann::json& expected, const nlohmann::json& actual) {
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    // The changes that turn the expected value into the actual one, each with its place.
    const nlohmann::json patch = nlohmann::json::diff(expected, actual);
    auto failure = ::testing::AssertionFailure() << patch.size() << " difference(s):";
    for (std::size_t i = 0; i < patch.size() && i < 40; ++i) {
        const std::string path = patch[i]["path"];
        failure << "\n  " << path << ": expected " << valueAt(expected, path).dump() << ", got "
                << patch[i].value("value", nlohmann::json()).dump();
    }
    return failure;
}

}  // namespace qelto::test
