// A register row's texts: storage only once written, deep copies, and a register of 5000 rows
// that holds texts only in the rows somebody wrote.
#include "app/register/row_texts.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/register/salary_register.h"

namespace sr::app {
namespace {

TEST(RowTextsTest, AnUnwrittenRowReadsEmptyWithoutStorage) {
  const RowTexts row;
  EXPECT_FALSE(row.Allocated());
  EXPECT_EQ(row[0], "");
  EXPECT_EQ(row[kRegisterColumns - 1], "");
  int texts = 0;
  for (const Text& text : row) texts += text.empty() ? 1 : 0;
  EXPECT_EQ(texts, kRegisterColumns);
  EXPECT_EQ(row, RowTexts{""});  // equal to a written row whose texts are all empty
}

TEST(RowTextsTest, CopiesAreDeepAndAMovedFromRowReadsEmpty) {
  RowTexts row{"0001", "张三"};
  row[kRegisterColumns - 1] = "备注";
  RowTexts copy = row;
  copy[1] = "李四";
  EXPECT_EQ(row[1], "张三");
  EXPECT_EQ(copy[0], "0001");
  EXPECT_EQ(copy[kRegisterColumns - 1], "备注");
  copy = RowTexts();  // assigning an unwritten row empties it
  EXPECT_EQ(copy[0], "");
  copy = row;
  EXPECT_EQ(copy, row);

  RowTexts moved = std::move(row);
  EXPECT_EQ(moved[1], "张三");
  EXPECT_EQ(row[1], "");  // NOLINT(bugprone-use-after-move): a moved-from row reads empty
  row[2] = "100";         // and can be written again
  EXPECT_EQ(row[2], "100");
}

TEST(RowTextsTest, ANewRegisterHoldsTextsOnlyInTheRowsWritten) {
  SalaryRegister reg;
  reg.ReplaceRows(std::vector<RowTexts>(5000));
  reg.SetCellText(5000, kRegisterColumns - 1, "末行");
  // Emptying cells that are empty already, over every row: nothing is written.
  EXPECT_TRUE(reg.SetCellTexts({1, 0, 5000, 1}, std::vector<Text>(10000)));
  reg.SetCellTexts({3, 2, 4, 2}, {"", "1,500"});
  int written = 0;
  for (int row = 1; row < reg.RowCount(); ++row) written += reg.Row(row).Allocated() ? 1 : 0;
  EXPECT_EQ(written, 2);
  EXPECT_EQ(reg.CellText(5000, kRegisterColumns - 1), "末行");
  EXPECT_EQ(reg.CellText(4, 2), "1,500");
  EXPECT_EQ(reg.CellText(3, 2), "");
  EXPECT_EQ(reg.CellText(2500, 5), "");
}

}  // namespace
}  // namespace sr::app
