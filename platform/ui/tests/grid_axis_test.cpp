// Where rows and columns lie in a grid view with frozen titles: the hit-testing and scrolling
// arithmetic that every grid peer shares.
#include "platform/ui/grid_axis.h"

#include <gtest/gtest.h>

#include <vector>

namespace sr::ui {
namespace {

// One title of 20 pixels, then a hidden entry, then entries of 30 and 10.
GridAxis Axis() {
  const std::vector<int> sizes{20, 0, 30, 10};
  GridAxis axis;
  axis.Rebuild(4, 1, [&sizes](int i) { return sizes[i]; });
  return axis;
}

TEST(GridAxis, FindsTheEntryUnderAPixelButNeverAHiddenOne) {
  const GridAxis axis = Axis();
  EXPECT_EQ(axis.TitleExtent(), 20);
  EXPECT_EQ(axis.DataExtent(), 40);
  EXPECT_EQ(axis.IndexAt(-1), -1);
  EXPECT_EQ(axis.IndexAt(0), 0);
  EXPECT_EQ(axis.IndexAt(19), 0);
  EXPECT_EQ(axis.IndexAt(20), 2);  // entry 1 has no pixel
  EXPECT_EQ(axis.IndexAt(49), 2);
  EXPECT_EQ(axis.IndexAt(50), 3);
  EXPECT_EQ(axis.IndexAt(59), 3);
  EXPECT_EQ(axis.IndexAt(60), -1);
  EXPECT_EQ(axis.Start(1), axis.End(1));
}

TEST(GridAxis, TitlesStayInPlaceWhileTheDataScrolls) {
  const GridAxis axis = Axis();
  EXPECT_EQ(axis.ToView(10, 25), 10);
  EXPECT_EQ(axis.ToView(50, 25), 25);
  EXPECT_EQ(axis.ToGrid(10, 25), 10);
  EXPECT_EQ(axis.ToGrid(25, 25), 50);
}

TEST(GridAxis, VisibleDataIsWhatShowsBelowTheTitles) {
  const GridAxis axis = Axis();
  int first = -1, last = -1;
  ASSERT_TRUE(axis.VisibleData(0, 35, &first, &last));
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 2);
  ASSERT_TRUE(axis.VisibleData(0, 100, &first, &last));
  EXPECT_EQ(last, 3);  // the view is larger than the grid
  ASSERT_TRUE(axis.VisibleData(30, 35, &first, &last));
  EXPECT_EQ(first, 3);
  EXPECT_FALSE(axis.VisibleData(0, 20, &first, &last));   // the titles fill the view
  EXPECT_FALSE(axis.VisibleData(40, 35, &first, &last));  // scrolled past the end
}

TEST(GridAxis, TitlesAreNeverMoreThanTheEntries) {
  GridAxis axis;
  axis.Rebuild(2, 5, [](int) { return 10; });
  EXPECT_EQ(axis.titles(), 2);
  EXPECT_EQ(axis.DataExtent(), 0);
}

}  // namespace
}  // namespace sr::ui
