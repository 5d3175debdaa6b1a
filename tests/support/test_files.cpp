// The helpers of test_env.h that are the same on every system.
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "support/test_env.h"

namespace qelto::test {

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    writeFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

::testing::AssertionResult exited(const ProcessResult& run, int exitCode,
                                  std::initializer_list<std::string_view> errHas) {
    bool ok = run.exitCode == exitCode;
    for (const std::string_view text : errHas) {
        ok = ok && run.err.find(text) != std::string::npos;
    }
    if (ok) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure()
                   << "exit " << run.exitCode << ", expected " << exitCode << "; stderr must hold";
    for (const std::string_view text : errHas) {
        failure << " \"" << text << "\"";
    }
    return failure << "\n--- stderr:\n" << run.err << "--- stdout:\n" << run.out;
}

}  // namespace qelto::test
