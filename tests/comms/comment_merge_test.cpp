// Merging the engineer's comments with a unit's on a read, and the unit's size limit.
#include "comms/comment_merge.h"

#include <gtest/gtest.h>

namespace qelto::comms {
namespace {

TEST(ReadCommentMerge, DocumentTextGoesFirstOnItsOwnLineUpToTheLimit) {
    const std::string full(kMaxMergedComments, 'x');
    // 9 + line feed + 1991 = 2001: the unit's last character goes.
    const std::string over = std::string(1990, 'u') + "Z";
    const struct {
        std::string document, unit, merged;
        bool truncated;
    } cases[] = {{"", "unit notes", "unit notes", false},
                 {"mine", "unit", "mine\nunit", false},
                 {"mine", "", "mine\n", false},
                 {"", full, full, false},
                 {"123456789", over, "123456789\n" + std::string(1990, 'u'), true}};
    for (const auto& c : cases) {
        const MergedComments merged = mergeReadComments(c.document, c.unit);
        EXPECT_EQ(merged.text, c.merged) << c.document;
        EXPECT_EQ(merged.truncated, c.truncated) << c.document;
    }
}

}  // namespace
}  // namespace qelto::comms
