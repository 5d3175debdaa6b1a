#include "model/qelto_doc.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_env.h"

namespace qelto::model {
namespace {

using test::readFile;
using test::testDir;

class DocTest : public ::testing::Test {
  protected:
    NoPumpNameDefaults names;
    CProgData config;
    CQeltoDoc doc{config, names};
    std::vector<DocHint> hints;

    void SetUp() override {
        doc.setHintListener([this](DocHint h) { hints.push_back(h); });
        doc.OnNewDocument();
        hints.clear();
    }

    std::vector<std::uint8_t> savedBytes() { return doc.StoreToBytes(); }
};

TEST_F(DocTest, SaveWritesTheCurrentFormatAndReopensToTheSameRecord) {
    config.progName[3] = "Bed linen";
    config.comments = std::string(300, 'c');
    config.Step(3, 9, 9) = {{1, 2, 0}, {3, 4, 0}, 567};
    config.PumpEnabled(3, 9, 9) = 1;
    config.pumpCalibration[9] = 420;
    doc.dishwash().DW_Text = "rinse";

    const SaveResult saved = doc.OnSaveDocument(testDir() / "a.qlf");
    ASSERT_TRUE(saved.ok) << saved.detail;
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(hints.front(), DocHint::PushEdits);
    const std::string bytes = readFile(testDir() / "a.qlf");
    EXPECT_EQ(bytes.substr(0, 5), std::string("\x04QDo9", 5));

    const CProgData before = config;
    doc.OnNewDocument();
    hints.clear();
    const OpenResult opened = doc.OnOpenDocument(testDir() / "a.qlf");
    ASSERT_TRUE(opened.ok()) << opened.detail;
    EXPECT_EQ(opened.tag, "QDo9");
    EXPECT_EQ(opened.messageId, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(hints, (std::vector<DocHint>{DocHint::ContentsDeleted, DocHint::Opened}));
    EXPECT_EQ(config.progName, before.progName);
    EXPECT_EQ(config.comments, before.comments);
    EXPECT_EQ(config.programs, before.programs);
    EXPECT_EQ(config.pumpEnabled, before.pumpEnabled);
    EXPECT_EQ(config.pumpCalibration, before.pumpCalibration);
    EXPECT_EQ(doc.dishwash().DW_Text, "rinse");
    EXPECT_EQ(doc.pumpCount(), 4u);
    EXPECT_EQ(doc.triggerCount(), 10u);
}

TEST_F(DocTest, AFailedOpenLeavesTheOpenDocumentAsItWas) {
    config.progName[0] = "Unsaved work";
    doc.SetModifiedFlag();
    std::vector<std::uint8_t> truncated = savedBytes();
    truncated.resize(truncated.size() / 2);
    test::writeFile(testDir() / "half.qlf", truncated);
    test::writeFile(testDir() / "other.qlf", std::string("\x04qdo9", 5));

    const OpenResult half = doc.OnOpenDocument(testDir() / "half.qlf");
    EXPECT_EQ(half.status, OpenStatus::Truncated);
    EXPECT_NE(half.detail.find("half.qlf"), std::string::npos) << half.detail;
    const OpenResult other = doc.OnOpenDocument(testDir() / "other.qlf");
    EXPECT_EQ(other.status, OpenStatus::UnknownFormat);
    EXPECT_EQ(other.messageId, kMsgUnknownFormat);
    const OpenResult missing = doc.OnOpenDocument(testDir() / "missing.qlf");
    EXPECT_EQ(missing.status, OpenStatus::CannotRead);

    EXPECT_EQ(config.progName[0], "Unsaved work");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(hints.empty());
}

TEST_F(DocTest, OlderFormatsOpenModifiedWithANotice) {
    // A format-1 file of a reset record: tag, 71 legacy bytes, unit type, names, six speeds,
    // spare text, reset-delay-off, eight unit bytes, PINs and 20 x 6 x (5 x 6 + 1) step bytes.
    std::vector<std::uint8_t> file{4, 'Q', 'D', 'o', 'c'};
    file.resize(file.size() + 71 + 1 + 34 + 6 + 9 + 1 + 8 + 6 + 20 * 6 * 31, 0);
    const OpenResult opened = doc.LoadFromBytes(file, "old.qcf");
    ASSERT_TRUE(opened.ok()) << opened.detail;
    EXPECT_EQ(opened.messageId, kMsgOlderFormat);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(config.firstFormatLoad, 1);
    EXPECT_EQ(doc.formatTag(), "QDo9");
    // One byte less and the same file is incomplete.
    file.pop_back();
    EXPECT_EQ(doc.LoadFromBytes(file, "old.qcf").status, OpenStatus::Truncated);
}

TEST_F(DocTest, SavingAQcfNameWritesTheQlfName) {
    EXPECT_EQ(CQeltoDoc::SavePathFor("/x/plant.qcf"), std::filesystem::path("/x/plant.qlf"));
    EXPECT_EQ(CQeltoDoc::SavePathFor("/x/plant.QCF"), std::filesystem::path("/x/plant.QCF"));
    EXPECT_EQ(CQeltoDoc::SavePathFor("/x/a.qcf.qcf"), std::filesystem::path("/x/a.qlf.qlf"));
    EXPECT_EQ(CQeltoDoc::SavePathFor("/x.qcf/plant.qlf"),
              std::filesystem::path("/x.qcf/plant.qlf"));

    const SaveResult saved = doc.OnSaveDocument(testDir() / "plant.qcf");
    ASSERT_TRUE(saved.ok) << saved.detail;
    EXPECT_EQ(saved.path, testDir() / "plant.qlf");
    EXPECT_EQ(doc.pathName(), testDir() / "plant.qlf");
    EXPECT_FALSE(std::filesystem::exists(testDir() / "plant.qcf"));
}

TEST_F(DocTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    ASSERT_TRUE(doc.OnSaveDocument(testDir() / "keep.qlf").ok);
    const std::string old = readFile(testDir() / "keep.qlf");
    config.progName[0] = "changed";
    doc.SetModifiedFlag();

    // A folder where the file should be: the rename cannot replace it.
    std::filesystem::create_directory(testDir() / "dir.qlf");
    const SaveResult intoFolder = doc.OnSaveDocument(testDir() / "dir.qlf");
    EXPECT_FALSE(intoFolder.ok);
    EXPECT_NE(intoFolder.detail.find("dir.qlf"), std::string::npos) << intoFolder.detail;
    EXPECT_TRUE(doc.IsModified());

    const SaveResult noFolder = doc.OnSaveDocument(testDir() / "missing" / "keep.qlf");
    EXPECT_FALSE(noFolder.ok);
    EXPECT_EQ(readFile(testDir() / "keep.qlf"), old);
    // No temporary file is left behind.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(testDir())) {
        ++entries;
    }
    EXPECT_EQ(entries, 3u);  // .config, keep.qlf, dir.qlf
}

TEST_F(DocTest, TheDishwashViewIsRememberedOnlyForTheDishwashViews) {
    doc.setActiveView(4);
    ASSERT_TRUE(doc.LoadFromBytes(savedBytes(), "v").ok());
    EXPECT_EQ(doc.viewToShow(), 4u);
    doc.setActiveView(3);
    ASSERT_TRUE(doc.LoadFromBytes(savedBytes(), "v").ok());
    EXPECT_EQ(doc.viewToShow(), 0u);
}

}  // namespace
}  // namespace qelto::model
