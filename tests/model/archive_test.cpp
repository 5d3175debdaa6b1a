#include "model/archive.h"

#include <gtest/gtest.h>

namespace qelto::model {
namespace {

std::vector<std::uint8_t> storedString(const std::string& text) {
    Archive ar = Archive::forStoring();
    std::string copy = text;
    ar.transferString(copy);
    return ar.stored();
}

TEST(Archive, CountedStringLengthTakesOneThreeOrSevenBytes) {
    EXPECT_EQ(storedString("QDo9"), (std::vector<std::uint8_t>{4, 'Q', 'D', 'o', '9'}));

    const std::vector<std::uint8_t> at254 = storedString(std::string(254, 'x'));
    ASSERT_EQ(at254.size(), 255u);
    EXPECT_EQ(at254[0], 254);

    const std::vector<std::uint8_t> at255 = storedString(std::string(255, 'x'));
    ASSERT_EQ(at255.size(), 258u);
    EXPECT_EQ((std::vector<std::uint8_t>(at255.begin(), at255.begin() + 3)),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00}));

    // 0xFFFE is never written as a two-byte length; it takes the long form.
    const std::vector<std::uint8_t> at65534 = storedString(std::string(65534, 'x'));
    EXPECT_EQ((std::vector<std::uint8_t>(at65534.begin(), at65534.begin() + 7)),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
}

TEST(Archive, ReadingPastTheEndThrowsWithTheOffset) {
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    Archive ar = Archive::forLoading(bytes);
    std::uint16_t w = 0;
    ar.transfer(w);
    std::uint32_t d = 0;
    try {
        ar.transfer(d);
        FAIL() << "no end-of-file error";
    } catch (const ArchiveEndOfFile& e) {
        EXPECT_EQ(e.offset(), 2u);
    }
}

}  // namespace
}  // namespace qelto::model
