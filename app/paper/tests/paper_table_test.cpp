// Rows into pages: the totals row takes a line of the last page, or a page of its own.
#include "app/paper/paper_table.h"

#include <gtest/gtest.h>

namespace sr::app {
namespace {

std::vector<std::vector<int>> Flat(const std::vector<RowPage>& pages) {
  std::vector<std::vector<int>> flat;
  for (const RowPage& p : pages) flat.push_back({p.first, p.count, p.totals ? 1 : 0});
  return flat;
}

TEST(PagesOfRowsTest, TotalsFollowTheLastRowOnItsPageOrOnANewOne) {
  using Flat3 = std::vector<std::vector<int>>;
  EXPECT_EQ(Flat(PagesOfRows(0, 30)), (Flat3{{0, 0, 1}}));
  EXPECT_EQ(Flat(PagesOfRows(29, 30)), (Flat3{{0, 29, 1}}));
  EXPECT_EQ(Flat(PagesOfRows(30, 30)), (Flat3{{0, 30, 0}, {30, 0, 1}}));
  EXPECT_EQ(Flat(PagesOfRows(65, 30)), (Flat3{{0, 30, 0}, {30, 30, 0}, {60, 5, 1}}));
  EXPECT_EQ(Flat(PagesOfRows(2, 1)), (Flat3{{0, 1, 0}, {1, 1, 0}, {2, 0, 1}}));
}

TEST(PageLineTest, SaysWhichPageOfHowMany) { EXPECT_EQ(PageLine(3, 7), "第 3 页 共 7 页"); }

}  // namespace
}  // namespace sr::app
