// `qeltoctl diff` on document files built byte by byte from the documented layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using doc::saveDocument;

// Two documents that differ in one step's run time and in a customer name, as lines and as JSON,
// exit 1; the same document in two files, exit 0; a dishwash and a laundry document.
TEST(Diff, eachDifferenceIsOneLineAndTheExitStatusSaysTheyDiffer) {
    doc::Document before = doc::distinctDocument();
    before.config.programs[2][1][0].runTime = {0, 45, 0};
    doc::Document after = before;
    after.config.programs[2][1][0].runTime = {1, 30, 0};
    after.config.customerName2 = doc::fixedText<17>("Say \"hi\"");
    const auto a = saveDocument(before, "a.qlf");
    const auto b = saveDocument(after, "b.qlf");

    const auto lines = runQeltoctl({"diff", a, b});
    EXPECT_EQ(lines.exitCode, 1) << lines.err;
    EXPECT_EQ(lines.out,
              "customerName2: \"W\u00e4scherei Nord\" -> \"Say \\\"hi\\\"\"\n"
              "programs[3].triggers[2].pumps[1].runTime: 0:45 -> 1:30\n");
    const auto asJson = runQeltoctl({"diff", "--json", a, b});
    EXPECT_EQ(asJson.exitCode, 1) << asJson.err;
    const auto out = nlohmann::json::parse(asJson.out);
    ASSERT_EQ(out.size(), 2U) << asJson.out;
    EXPECT_EQ(out[0]["b"], "Say \"hi\"");
    EXPECT_EQ(out[1], (nlohmann::json{{"field", "runTime"},
                                      {"program", 3},
                                      {"trigger", 2},
                                      {"pump", 1},
                                      {"a", "0:45"},
                                      {"b", "1:30"}}));

    const auto copy = saveDocument(before, "copy.qlf");
    const auto same = runQeltoctl({"diff", a, copy});
    EXPECT_TRUE(exited(same, 0));
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(runQeltoctl({"diff", "--json", a, copy}).out, "[]\n");

    doc::Document laundry = before;
    laundry.viewNumber = 0;  // `before` was saved from the dishwash editor, this one was not
    const auto family = runQeltoctl({"diff", a, saveDocument(laundry, "laundry.qlf")});
    EXPECT_EQ(family.exitCode, 1) << family.err;
    EXPECT_EQ(family.out, "unitFamily: dishwash -> laundry\n");
}

// Exit 3: could not compare, which is not "differs".
TEST(Diff, anUnreadableFileIsNamedAndNothingIsCompared) {
    const auto a = saveDocument(doc::distinctDocument(), "a.qlf");
    const auto missing = (testDir() / "missing.qlf").string();
    for (const auto& run : {runQeltoctl({"diff", missing, a}), runQeltoctl({"diff", a, missing})}) {
        EXPECT_TRUE(exited(run, 3, {"missing.qlf"}));
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace qelto::test
