#include "model/dishwash_data.h"

#include <gtest/gtest.h>

#include "model/archive.h"

namespace qelto::model {
namespace {

TEST(DishWashData, OutputTimesKeepTheirTwoNumbersThroughTheFile) {
    CDishWashViewData d;
    d.Reset(0, 0);
    d.DW_IOTime[2] = {34, 0, 12};  // shown as 12:34
    d.DW_IODuration[3] = {5, 0, 1};
    std::uint32_t view = 4;
    Archive out = Archive::forStoring();
    d.Serialize(out, view);

    CDishWashViewData loaded;
    loaded.Reset(0, 0);
    loaded.DW_NamesFormat = 1;
    std::uint32_t loadedView = 0;
    Archive in = Archive::forLoading(out.stored());
    loaded.Serialize(in, loadedView);
    EXPECT_EQ(loaded.DW_IOTime[2].third, 12);
    EXPECT_EQ(loaded.DW_IOTime[2].minutes, 34);
    EXPECT_EQ(loaded.DW_IODuration[3].third, 1);
    EXPECT_EQ(loaded.DW_IODuration[3].minutes, 5);
    EXPECT_EQ(loadedView, 4u);
}

}  // namespace
}  // namespace qelto::model
