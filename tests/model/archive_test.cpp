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

std::string loadedString(const std::vector<std::uint8_t>& bytes) {
    Archive ar = Archive::forLoading(bytes);
    std::string text;
    ar.transferString(text);
    return text;
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

    for (const std::size_t n : {0u, 254u, 255u, 65533u, 65534u, 70000u}) {
        EXPECT_EQ(loadedString(storedString(std::string(n, 'y'))).size(), n) << n;
    }
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

TEST(Archive, ADamagedStringLengthFailsWithoutAllocating) {
    // 0xFF 0xFFFF then a u32 length of 4 GiB, with three bytes behind it.
    const std::vector<std::uint8_t> bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
    Archive ar = Archive::forLoading(bytes);
    std::string text;
    EXPECT_THROW(ar.transferString(text), ArchiveEndOfFile);
}

}  // namespace
}  // namespace qelto::model
