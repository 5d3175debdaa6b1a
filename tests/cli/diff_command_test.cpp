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

std::string save(const doc::Document& d, const std::string& name) {
    const auto path = testDir() / name;
    writeFile(path, doc::writeDocument(d, 9));
    return path.string();
}

// Two documents that differ in one step's run time and in a customer name.
struct ChangedPair : ::testing::Test {
    doc::Document before = doc::distinctDocument();
    std::string a;
    std::string b;
    void SetUp() override {
        before.config.programs[2][1][0].runTime = {0, 45, 0};
        doc::Document after = before;
        after.config.programs[2][1][0].runTime = {1, 30, 0};
        after.config.customerName2 = doc::fixedText<17>("Say \"hi\"");
        a = save(before, "a.qlf");
        b = save(after, "b.qlf");
    }
};

TEST_F(ChangedPair, eachDifferenceIsOneLineAndTheExitStatusSaysTheyDiffer) {
    const auto run = runQeltoctl({"diff", a, b});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out,
              "customerName2: \"W\u00e4scherei Nord\" -> \"Say \\\"hi\\\"\"\n"
              "programs[3].triggers[2].pumps[1].runTime: 0:45 -> 1:30\n");
}

TEST_F(ChangedPair, jsonNamesTheFieldAndItsPlace) {
    const auto run = runQeltoctl({"diff", "--json", a, b});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const auto out = nlohmann::json::parse(run.out);
    ASSERT_EQ(out.size(), 2U) << run.out;
    EXPECT_EQ(out[0]["b"], "Say \"hi\"");
    EXPECT_EQ(out[1], (nlohmann::json{{"field", "runTime"},
                                      {"program", 3},
                                      {"trigger", 2},
                                      {"pump", 1},
                                      {"a", "0:45"},
                                      {"b", "1:30"}}));
}

TEST_F(ChangedPair, identicalDocumentsInTwoFilesPrintNothingAndExitZero) {
    const auto copy = save(before, "copy.qlf");
    const auto run = runQeltoctl({"diff", a, copy});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(runQeltoctl({"diff", "--json", a, copy}).out, "[]\n");
}

TEST_F(ChangedPair, aDishwashAndALaundryDocumentDifferInTheirUnitFamily) {
    doc::Document laundry = before;
    laundry.viewNumber = 0;  // `before` was saved from the dishwash editor, this one was not
    const auto run = runQeltoctl({"diff", a, save(laundry, "laundry.qlf")});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "unitFamily: dishwash -> laundry\n");
}

TEST_F(ChangedPair, anUnreadableFileIsNamedAndNothingIsCompared) {
    const auto missing = (testDir() / "missing.qlf").string();
    for (const auto& run : {runQeltoctl({"diff", missing, b}), runQeltoctl({"diff", a, missing})}) {
        EXPECT_EQ(run.exitCode, 3) << "could not compare, which is not \"differs\"";
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("missing.qlf"), std::string::npos) << run.err;
    }
    EXPECT_EQ(runQeltoctl({"diff", a}).exitCode, 2);
}

}  // namespace
}  // namespace qelto::test
