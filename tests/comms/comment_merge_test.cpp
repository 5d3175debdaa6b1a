// Merging the engineer's comments with a unit's on a read, and the unit's size limit.
#include "comms/comment_merge.h"

#include <gtest/gtest.h>

namespace qelto::comms {
namespace {

TEST(ReadCommentMerge, WithoutDocumentTextTheUnitTextStandsAlone) {
    const MergedComments merged = mergeReadComments("", "unit notes");
    EXPECT_EQ(merged.text, "unit notes");
    EXPECT_FALSE(merged.truncated);
}

TEST(ReadCommentMerge, DocumentTextGoesFirstOnItsOwnLine) {
    EXPECT_EQ(mergeReadComments("mine", "unit").text, "mine\nunit");
    EXPECT_EQ(mergeReadComments("mine", "").text, "mine\n");
}

TEST(ReadCommentMerge, ExactlyTheLimitIsKeptWhole) {
    const MergedComments merged = mergeReadComments("", std::string(kMaxMergedComments, 'x'));
    EXPECT_EQ(merged.text.size(), kMaxMergedComments);
    EXPECT_FALSE(merged.truncated);
}

TEST(ReadCommentMerge, OneCharacterOverTheLimitIsCutAndMarked) {
    // 9 + line feed + 1991 = 2001: the unit's last character goes.
    const std::string unit = std::string(1990, 'u') + "Z";
    const MergedComments merged = mergeReadComments("123456789", unit);
    ASSERT_EQ(merged.text.size(), kMaxMergedComments);
    EXPECT_TRUE(merged.truncated);
    EXPECT_EQ(merged.text.substr(0, 10), "123456789\n");
    EXPECT_EQ(merged.text.back(), 'u');
}

}  // namespace
}  // namespace qelto::comms
