#include "platform/text_helpers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace qelto::platform {
namespace {

TEST(TextHelpers, fixedWidthNumbersTakeExactlyTheirDigitsAndNeverReadPastTheText) {
    struct Case {
        std::string_view text;
        std::size_t at;
        std::size_t count;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"14052019", 4, 4, 2019},   {"0912", 1, 2, 91},
        {"09", 1, 2, std::nullopt}, {"+1", 0, 2, std::nullopt},
        {" 1", 0, 2, std::nullopt}, {"1234567890", 0, 10, std::nullopt},  // would not fit an int
    };
    for (const Case& c : cases) {
        EXPECT_EQ(digitsAt(c.text, c.at, c.count), c.value) << c.text << " at " << c.at;
    }
}

TEST(TextHelpers, trimmingTakesBlanksAndTheCarriageReturnOfACrlfLineOnly) {
    EXPECT_EQ(trimmed(" \t key = a b \r"), "key = a b");
    EXPECT_EQ(trimmed(" \r\t "), "");
    EXPECT_EQ(trimmed("a\n"), "a\n");
    EXPECT_EQ(trimmedStart("  a "), "a ");
    EXPECT_TRUE(allDigits("") && allDigits("0123456789"));
    EXPECT_FALSE(allDigits("12a") || allDigits("-1") || allDigits("\xb2"));
}

}  // namespace
}  // namespace qelto::platform
