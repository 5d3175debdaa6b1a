#include "protocol/comms_data.h"

#include <gtest/gtest.h>

namespace qelto::protocol {
namespace {

TEST(TextSlots, AFullSlotIsReadToItsEndAndNoFurther) {
    TextSlot<4> slot{'a', 'b', 'c', 'd'};
    EXPECT_EQ(slotText(slot), "abcd");
    setSlotText(slot, "xy");
    EXPECT_EQ(slot, (TextSlot<4>{'x', 'y', 0, 0}));
    setSlotText(slot, "longer than four");
    EXPECT_EQ(slotText(slot), "long");
}

TEST(TextSlots, ANameSlotAlwaysKeepsItsTerminatingZero) {
    TextSlot<kNameSlot> name{};
    setTerminatedText(name, std::string(40, 'n'));
    EXPECT_EQ(slotText(name), std::string(25, 'n'));
    EXPECT_EQ(name.back(), '\0');
}

TEST(CommentsFromText, ASixtyCharacterTextBecomesBlocksOf25And25And10) {
    const std::string text = std::string(25, 'a') + std::string(25, 'b') + std::string(10, 'c');
    const CommentsPart part = commentsFromText(text);
    EXPECT_EQ(part.count, 3);
    EXPECT_EQ(slotText(part.blocks[0]), std::string(25, 'a'));
    EXPECT_EQ(slotText(part.blocks[1]), std::string(25, 'b'));
    EXPECT_EQ(slotText(part.blocks[2]), std::string(10, 'c'));
    EXPECT_EQ(part.blocks[2][10], '\0');
}

TEST(CommentsFromText, KeepsAtMostOneHundredBlocksAndNoneForAnEmptyText) {
    EXPECT_EQ(commentsFromText(std::string(2600, 'z')).count, 100);
    EXPECT_EQ(commentsFromText(std::string(2500, 'z')).count, 100);
    EXPECT_EQ(commentsFromText(std::string(26, 'z')).count, 2);
    EXPECT_EQ(commentsFromText("").count, 0);
}

}  // namespace
}  // namespace qelto::protocol
