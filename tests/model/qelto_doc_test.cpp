#include "model/qelto_doc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
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
        doc.onNewDocument();
        hints.clear();
    }

    std::vector<std::uint8_t> savedBytes() { return doc.storeToBytes(); }
};

// A save and its reopening are driven through qeltoctl (tests/cli) and the desktop shell.
TEST_F(DocTest, AFailedOpenLeavesTheOpenDocumentAsItWas) {
    config.progName[0] = "Unsaved work";
    doc.setModifiedFlag();
    std::vector<std::uint8_t> truncated = savedBytes();
    truncated.resize(truncated.size() / 2);
    test::writeFile(testDir() / "half.qlf", truncated);
    test::writeFile(testDir() / "other.qlf", std::string("\x04qdo9", 5));

    const OpenResult half = doc.onOpenDocument(testDir() / "half.qlf");
    EXPECT_EQ(half.status, OpenStatus::Truncated);
    EXPECT_NE(half.detail.find("half.qlf"), std::string::npos) << half.detail;
    const OpenResult other = doc.onOpenDocument(testDir() / "other.qlf");
    EXPECT_EQ(other.status, OpenStatus::UnknownFormat);
    EXPECT_EQ(other.messageId, kMsgUnknownFormat);

    EXPECT_EQ(config.progName[0], "Unsaved work");
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(hints.empty());
}

TEST_F(DocTest, OlderFormatsOpenModifiedWithANotice) {
    // A format-1 file of a reset record: tag, 71 legacy bytes, unit type, names, six speeds,
    // spare text, reset-delay-off, eight unit bytes, PINs and 20 x 6 x (5 x 6 + 1) step bytes.
    std::vector<std::uint8_t> file{4, 'Q', 'D', 'o', 'c'};
    file.resize(file.size() + 71 + 1 + 34 + 6 + 9 + 1 + 8 + 6 + 20 * 6 * 31, 0);
    const OpenResult opened = doc.loadFromBytes(file, "old.qcf");
    ASSERT_TRUE(opened.ok()) << opened.detail;
    EXPECT_EQ(opened.messageId, kMsgOlderFormat);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(config.firstFormatLoad, 1);
    EXPECT_EQ(doc.formatTag(), "QDo9");
}

TEST_F(DocTest, SavingAQcfNameWritesTheQlfName) {
    EXPECT_EQ(CQeltoDoc::savePathFor("/x/plant.qcf"), std::filesystem::path("/x/plant.qlf"));
    EXPECT_EQ(CQeltoDoc::savePathFor("/x.qcf/plant.qlf"),
              std::filesystem::path("/x.qcf/plant.qlf"));

    const SaveResult saved = doc.onSaveDocument(testDir() / "plant.qcf");
    ASSERT_TRUE(saved.ok) << saved.detail;
    EXPECT_EQ(saved.path, testDir() / "plant.qlf");
    EXPECT_EQ(doc.pathName(), testDir() / "plant.qlf");
    EXPECT_FALSE(std::filesystem::exists(testDir() / "plant.qcf"));
}

TEST_F(DocTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    ASSERT_TRUE(doc.onSaveDocument(testDir() / "keep.qlf").ok);
    const std::string old = readFile(testDir() / "keep.qlf");
    config.progName[0] = "changed";
    doc.setModifiedFlag();

    // A folder where the file should be: the rename cannot replace it.
    std::filesystem::create_directory(testDir() / "dir.qlf");
    const SaveResult intoFolder = doc.onSaveDocument(testDir() / "dir.qlf");
    EXPECT_FALSE(intoFolder.ok);
    EXPECT_NE(intoFolder.detail.find("dir.qlf"), std::string::npos) << intoFolder.detail;
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(readFile(testDir() / "keep.qlf"), old);
}

// A reset document without names: tag 5, legacy image 89, unit type 1, customer lines 34, speeds
// 10, spare text 9, reset-delay flags 2, unit bytes 8, PINs 6, steps 10,200, comments 1, spare
// byte 1, program names 20, pump names 10, speed ranges 40, names flag 4, calibrations 40, doses
// 8,000 and flush type 4 put the extension block at 18,484; its format-9 items take 47 bytes.
constexpr std::size_t kIdentityTail = 18484 + 47;
constexpr std::size_t kIdentityTailSize = 53;
using Tail = std::vector<std::uint8_t>;

Tail tailOf(const std::vector<std::uint8_t>& file) {
    return {file.begin() + kIdentityTail, file.begin() + kIdentityTail + kIdentityTailSize};
}

// "QID", layout 1, the serial number in ten bytes and the software version in six, zero-padded.
Tail identityTail(std::string_view serial, std::string_view version, std::uint8_t layout = 1) {
    Tail tail{'Q', 'I', 'D', layout};
    tail.insert(tail.end(), serial.begin(), serial.end());
    tail.resize(14, 0);
    tail.insert(tail.end(), version.begin(), version.end());
    tail.resize(kIdentityTailSize, 0);
    return tail;
}

TEST_F(DocTest, AUnitsIdentityIsKeptInTheExtensionTailBehindItsMarker) {
    const std::vector<std::uint8_t> plain = savedBytes();
    // The block's end is followed by the end marker 999.
    ASSERT_EQ(Tail(plain.begin() + kIdentityTail + kIdentityTailSize,
                   plain.begin() + kIdentityTail + kIdentityTailSize + 4),
              (Tail{0xE7, 0x03, 0, 0}));
    EXPECT_EQ(tailOf(plain), Tail(kIdentityTailSize, 0)) << "no identity: the zeros as ever";

    setText(config.SerialNoUnit, "123456789");
    setText(config.SoftwareVersion, "V1.30");
    config.identitySource = IdentitySource::UnitRead;
    const std::vector<std::uint8_t> withIdentity = savedBytes();
    EXPECT_EQ(tailOf(withIdentity), identityTail("123456789", "V1.30"));

    const auto load = [&](const Tail& tail) {
        std::vector<std::uint8_t> file = plain;
        std::copy(tail.begin(), tail.end(), file.begin() + kIdentityTail);
        EXPECT_TRUE(doc.loadFromBytes(file, "t").ok());
        return file;
    };
    const std::vector<std::uint8_t> loaded = load(identityTail("4000000001", "V2.05"));
    EXPECT_EQ(config.identitySource, IdentitySource::File);
    EXPECT_EQ(textOf(config.SerialNoUnit), "4000000001");
    EXPECT_EQ(textOf(config.SoftwareVersion), "V2.05");
    EXPECT_EQ(tailOf(savedBytes()), tailOf(loaded));

    // Bytes that only look like an identity are an old file's stray tail: dropped as before.
    Tail padded = identityTail("12345", "V1.30");
    padded[4 + 7] = '9';
    for (const Tail& stray : {Tail(kIdentityTailSize, 0xA5), identityTail("123", "V1.30", 2),
                              identityTail("12a45", "V1.30"), identityTail("", "V1.30"), padded,
                              identityTail("1", "V1.300")}) {
        load(stray);
        EXPECT_EQ(config.identitySource, IdentitySource::None);
        EXPECT_EQ(textOf(config.SerialNoUnit), "000000000");
        EXPECT_EQ(tailOf(savedBytes()), Tail(kIdentityTailSize, 0));
    }
}

TEST_F(DocTest, TheDishwashViewIsRememberedOnlyForTheDishwashViews) {
    doc.setActiveView(4);
    ASSERT_TRUE(doc.loadFromBytes(savedBytes(), "v").ok());
    EXPECT_EQ(doc.viewToShow(), 4u);
    doc.setActiveView(3);
    ASSERT_TRUE(doc.loadFromBytes(savedBytes(), "v").ok());
    EXPECT_EQ(doc.viewToShow(), 0u);
}

}  // namespace
}  // namespace qelto::model
