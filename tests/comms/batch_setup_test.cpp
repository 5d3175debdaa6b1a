// The batch setup form's OK, quit and new batch, with scripted answers, an injected year and the
// test's own settings file.
#include "comms/batch_setup.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/test_env.h"

namespace qelto::test {
namespace {

using comms::BatchField;
using comms::SetupResult;

class ScriptedBatchPrompts final : public comms::BatchPrompts {
  public:
    std::vector<bool> answers;  // one per question, in order; missing answers are "no"
    std::vector<std::string> calls;
    std::vector<BatchField> focused;

    void warn(const std::string& text, BatchField field) override {
        calls.push_back("warn " + text);
        focused.push_back(field);
    }
    void messageText(const std::string& text, comms::MessageIcon) override {
        calls.push_back("error " + text);
    }
    bool askYesNo(const comms::Question& question) override {
        calls.push_back("yesno [" + question.caption + "] " + question.text);
        return next();
    }
    bool askOkCancel(const comms::Question& question) override {
        calls.push_back("okcancel " + question.text);
        return next();
    }

    // New answers for the questions from here on.
    void script(std::vector<bool> next) {
        answers = std::move(next);
        asked_ = 0;
        calls.clear();
    }

  private:
    bool next() {
        const std::size_t i = asked_++;
        return i < answers.size() && answers[i];
    }
    std::size_t asked_ = 0;
};

void putFile(const std::filesystem::path& path, std::string_view bytes = {}) {
    std::filesystem::create_directories(path.parent_path());
    writeFile(path, bytes);
}

std::tm dayIn(int year) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = 5;
    t.tm_mday = 14;
    return t;
}

class BatchSetup : public ::testing::Test {
  protected:
    std::string logs = (testDir() / "logs/").string();
    platform::SettingsStore store{testDir() / "Qelto.conf"};
    comms::BatchEnvironment environment{[] { return dayIn(2031); },
                                        (testDir() / "program/").string()};
    model::CProgData record;
    ScriptedBatchPrompts prompts;

    comms::BatchForm form(std::string job, std::uint32_t size) const {
        comms::BatchForm f;
        f.salesOrder = std::move(job);
        f.batchSize = size;
        f.logDirectory = logs;
        return f;
    }
    SetupResult accept(const comms::BatchForm& f) {
        return comms::acceptBatchSetup(f, prompts, environment, store, record);
    }
};

TEST_F(BatchSetup, RefusalsComeInTheFormsOrderAndStoreNothing) {
    EXPECT_EQ(accept(form("", 0)), SetupResult::Stay);
    EXPECT_EQ(accept(form("", 4)), SetupResult::Stay);
    EXPECT_EQ(accept(form("2031/7", 4)), SetupResult::Stay);
    ASSERT_EQ(prompts.calls.size(), 3u);
    EXPECT_EQ(prompts.calls[0], "warn Batch size must be great than zero!");
    EXPECT_EQ(prompts.calls[1], "warn Must enter a Sales Order No!");
    EXPECT_NE(prompts.calls[2].find("contains a '/'"), std::string::npos);
    EXPECT_EQ(prompts.focused,
              (std::vector{BatchField::BatchSize, BatchField::SalesOrder, BatchField::SalesOrder}));

    // Nor does declining the confirmation.
    prompts.script({false});
    EXPECT_EQ(accept(form("SO-17", 12)), SetupResult::Stay);
    ASSERT_EQ(prompts.calls.size(), 1u);
    EXPECT_EQ(prompts.calls[0], "yesno [] Batch Size:=12\nSalesOrderNo:=SO-17\nLogging Path:=" +
                                    logs + "\n\nAre these Settings Correct?");
    EXPECT_FALSE(std::filesystem::exists(store.file()));
    EXPECT_EQ(record.batchSize, 0u);
}

TEST_F(BatchSetup, OnlyThisYearsJobFileRaisesTheDuplicateQuestion) {
    putFile(logs + "2030/SO-17.csv", "last year\n");
    prompts.script({true});
    EXPECT_EQ(accept(form("SO-17", 12)), SetupResult::Stored);
    EXPECT_EQ(prompts.calls.size(), 1u);

    putFile(logs + "2031/SO-17.csv", "this year\n");
    prompts.script({true, false});
    EXPECT_EQ(accept(form("SO-17", 5)), SetupResult::Stay);
    ASSERT_EQ(prompts.calls.size(), 2u);
    EXPECT_EQ(prompts.calls[1], "yesno [Duplicate Name] SO-17\nReuse this Internal Job No?");
    EXPECT_EQ(store.load().batchSize, 12u) << "the declined setup must not be stored";

    prompts.script({true, true});
    EXPECT_EQ(accept(form("SO-17", 5)), SetupResult::Stored);
    EXPECT_EQ(store.load().batchSize, 5u);
}

TEST_F(BatchSetup, StoresTheBatchKeysAndLeavesTheOthersAlone) {
    putFile(store.file(),
            "[Settings]\nLanguage=4\nBatchName=\"Order, 'A'\"\nBatchSize=20\nBatchCounter=3\n"
            "SerPort=/dev/ttyS1\n");
    prompts.script({true});
    EXPECT_EQ(accept(form("Order, 'A'", 20)), SetupResult::Stored);
    const platform::Settings s = store.load();
    EXPECT_EQ(s.batchName, "Order, 'A'");
    EXPECT_EQ(s.batchSize, 20u);
    EXPECT_EQ(s.logDirectory, logs);
    EXPECT_EQ(s.batchCounter, 3u) << "the batch under way goes on counting";
    EXPECT_EQ(s.language, 4);
    EXPECT_EQ(s.serPort, "/dev/ttyS1");
    EXPECT_EQ(record.batchJobName, "Order, 'A'");
    EXPECT_EQ(record.batchSize, 20u);
}

TEST_F(BatchSetup, ABatchThatCountedUnitsTakesAnotherJobOrSizeOnlyAsANewBatch) {
    const struct {
        const char* stored;  // name, size and counter in the settings
        const char* job;
        std::uint32_t size;
        bool newBatch;
    } cases[] = {{"A\nBatchSize=4\nBatchCounter=2", "A", 4, false},  // another log directory
                 {"A\nBatchSize=4\nBatchCounter=4", "A", 4, true},   // complete
                 {"A\nBatchSize=4\nBatchCounter=2", "B", 4, true},
                 {"A\nBatchSize=4\nBatchCounter=2", "A", 6, true},
                 {"A\nBatchSize=0\nBatchCounter=0", "B", 3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " -> " + c.job);
        putFile(store.file(), std::string("[Settings]\nBatchName=") + c.stored + "\n");
        const std::uint32_t counter = store.load().batchCounter;
        comms::BatchForm f = form(c.job, c.size);
        EXPECT_EQ(comms::setupStartsNewBatch(f, store.load()), c.newBatch);
        prompts.script({true});
        EXPECT_EQ(accept(f), c.newBatch ? SetupResult::Stay : SetupResult::Stored);
        if (c.newBatch) {
            EXPECT_EQ(prompts.calls.front(), "warn " + comms::newBatchNotice(store.load()));
            EXPECT_EQ(store.load().batchName, "A") << "nothing is stored without the password";
            f.counterReset = true;  // the front end took the batch password
            prompts.script({true});
            EXPECT_EQ(accept(f), SetupResult::Stored);
        }
        EXPECT_EQ(store.load().batchCounter, c.newBatch ? 0u : counter);
        EXPECT_EQ(store.load().batchSize, c.size);
    }
}

TEST(BatchPassword, AnyLetterCaseButNothingElse) {
    for (const char* typed : {"qvz", "QVZ", "qVz"}) {
        EXPECT_TRUE(comms::batchPasswordMatches(typed)) << typed;
    }
    for (const char* typed : {"", "qv", "qvzz", " qvz", "qvx"}) {
        EXPECT_FALSE(comms::batchPasswordMatches(typed)) << typed;
    }
}

}  // namespace
}  // namespace qelto::test
