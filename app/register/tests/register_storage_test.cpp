// The grid-to-record mapping where it goes beyond what a user sees in one session: files that a
// sort left without the blank record last, files of the wrong shape, and the find search.
#include "app/register/register_storage.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/register/file_replacement.h"
#include "app/register/find_window.h"
#include "app/tests/register_test_files.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/database.h"

namespace sr::app {
namespace {

class RegisterStorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::MakeTempFolder("register_storage");
    relay_ = folder_ + "/ZhongZhuan.rgq";
    testing::MakeDatabase(relay_, testing::RelayFields());
  }

  // Saves `salary_register` as a new register file and opens it under "打开的数据".
  void SaveAndOpen(const SalaryRegister& salary_register, const Text& path) {
    Text reason;
    ASSERT_TRUE(SaveRegisterFile(databases_, fs::RealFileSystem(), StructureSource::kRelayFile,
                                 relay_, path, salary_register, nullptr, &reason))
        << reason;
    ASSERT_TRUE(databases_.OpenDatabase(path, kRegisterAlias));
  }

  DatabaseTable databases_{fs::RealFileSystem()};
  std::string folder_, relay_;
};

TEST_F(RegisterStorageTest, SortedFileKeepsItsLastPersonAndShowsTheBlankRecordAsAnEmptyRow) {
  SalaryRegister people;
  testing::FillRegister(people, 3, "人", 0);
  const Text path = folder_ + "/a.dat";
  SaveAndOpen(people, path);
  // Sorted by name, the blank record comes first and a person last.
  ASSERT_TRUE(databases_.SortToFile(folder_ + "/sorted.dat", {"姓名"}));
  ASSERT_TRUE(databases_.OpenDatabase(folder_ + "/sorted.dat", "sorted"));
  testing::ShownRegister loaded;
  Text reason;
  ASSERT_TRUE(LoadRegister(databases_, loaded.model, nullptr, &reason)) << reason;
  ASSERT_EQ(loaded.grid.RowCount(), 5);  // the titles, the blank row and three people
  EXPECT_EQ(loaded.grid.CellText(1, 1), "");
  EXPECT_EQ(loaded.grid.CellText(2, 1), "人1");
  EXPECT_EQ(loaded.grid.CellText(4, 1), "人3");
  EXPECT_EQ(loaded.grid.CellText(4, 2), "30");
  EXPECT_EQ(loaded.model.CountPeople(), 3);
}

TEST_F(RegisterStorageTest, SavedFileLoadsWithoutItsTrailingBlankRecord) {
  SalaryRegister people;
  testing::FillRegister(people, 2, "人", 0);
  people.SetCellText(2, 20, "0");
  people.SetCellText(2, 19, "0");
  people.SetCellText(1, 21, "备注一");
  SaveAndOpen(people, folder_ + "/b.dat");
  EXPECT_EQ(databases_.GetRecordCount(), 3);
  testing::ShownRegister loaded;
  Text reason;
  ASSERT_TRUE(LoadRegister(databases_, loaded.model, nullptr, &reason)) << reason;
  ASSERT_EQ(loaded.grid.RowCount(), 3);
  EXPECT_EQ(loaded.grid.CellText(0, 1), "姓名");
  EXPECT_EQ(loaded.grid.CellText(2, 20), "0");  // net pay shows its zero
  EXPECT_EQ(loaded.grid.CellText(2, 19), "");   // other amounts do not
  EXPECT_EQ(loaded.grid.CellText(1, 21), "备注一");
  EXPECT_EQ(loaded.grid.CellText(2, 2), "20");
}

// What the user typed stays the grid's text until it is stored: the file then holds the number
// the text reads as, and the register shows that number once loaded back.
TEST_F(RegisterStorageTest, ATypedAmountIsStoredAsTheNumberItsTextReadsAs) {
  SalaryRegister people;
  testing::FillRegister(people, 1, "人", 0);
  people.SetCellText(1, 2, "1,500");
  people.SetCellText(1, 3, " 12.50");
  SaveAndOpen(people, folder_ + "/typed.dat");
  EXPECT_EQ(ToNumber(databases_.ReadField(3)), 1);
  EXPECT_EQ(ToNumber(databases_.ReadField(4)), 12.5);
  testing::ShownRegister loaded;
  Text reason;
  ASSERT_TRUE(LoadRegister(databases_, loaded.model, nullptr, &reason)) << reason;
  EXPECT_EQ(loaded.model.CellText(1, 2), "1");
  EXPECT_EQ(loaded.grid.CellText(1, 2), "1");
  EXPECT_EQ(loaded.grid.CellText(1, 3), "12.5");
}

// Whether every row is aligned as a new register: titles and columns 0 and 1 centred, the
// rest left.
::testing::AssertionResult AlignedAsNew(const Grid& grid) {
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColumnCount(); ++c) {
      const Alignment expected = (r == 0 || c <= 1) ? Alignment::kCentre : Alignment::kLeft;
      if (grid.CellAlignment(r, c) != expected) {
        return ::testing::AssertionFailure()
               << "cell (" << r << ", " << c << ") of " << grid.RowCount() << " rows";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// A register loaded after a shorter one, or reloaded by a sort that adds the blank row, gets
// the new register's alignment in every row, also in rows the grid did not have before, and
// loses any other alignment a cell had.
TEST_F(RegisterStorageTest, EveryLoadAlignsEveryRowAsANewRegister) {
  SalaryRegister people;
  testing::FillRegister(people, 6, "人", 0);
  const Text path = folder_ + "/long.dat";
  SaveAndOpen(people, path);

  testing::ShownRegister shown;
  shown.model.SetRowCount(3);  // a shorter register, laid out as new, one cell right-aligned
  shown.grid.SetAlignment(0, 0, 0, 21, 2);
  shown.grid.SetAlignment(0, 0, 2, 1, 2);
  shown.grid.SetAlignment(2, 5, 2, 5, 3);
  Text reason;
  ASSERT_TRUE(LoadRegister(databases_, shown.model, nullptr, &reason)) << reason;
  ASSERT_EQ(shown.grid.RowCount(), 7);
  EXPECT_TRUE(AlignedAsNew(shown.grid));

  ASSERT_TRUE(databases_.SortToFile(folder_ + "/sorted.dat", {"姓名"}));
  ASSERT_TRUE(databases_.OpenDatabase(folder_ + "/sorted.dat", "sorted"));
  ASSERT_TRUE(LoadSortedRegister(databases_, shown.model, &reason)) << reason;
  ASSERT_EQ(shown.grid.RowCount(), 8);  // the blank record has a row now
  EXPECT_TRUE(AlignedAsNew(shown.grid));
}

TEST_F(RegisterStorageTest, SavingAgainKeepsTheHeaderAndGoesOnWithTheSerialNumbers) {
  SalaryRegister people;
  testing::FillRegister(people, 3, "人", 0);
  const Text path = folder_ + "/serial.dat";
  SaveAndOpen(people, path);
  const recdb::Header first = databases_.current()->header();
  EXPECT_EQ(first.next_serial, 5);  // three people and the blank record
  databases_.CloseAllDatabases();
  testing::FillRegister(people, 2, "新", 0);
  Text reason;
  ASSERT_TRUE(SaveRegisterFile(databases_, fs::RealFileSystem(), StructureSource::kSavedRegister,
                               path, path, people, nullptr, &reason))
      << reason;
  ASSERT_TRUE(databases_.OpenDatabase(path, kRegisterAlias));
  const recdb::Header second = databases_.current()->header();
  EXPECT_EQ(second.record_count, 3);
  EXPECT_EQ(second.next_serial, 8);
  EXPECT_EQ(second.created, first.created);
  EXPECT_EQ(ToText(databases_.ReadField(2)), "新1");
}

// An infinity in the file would show as "1.#INF" and read back as 1: a save refuses any amount
// that its field cannot hold, names the cell and leaves the file as it was.
TEST_F(RegisterStorageTest, AnAmountNoFieldCanHoldIsNamedAndTheFileKeepsItsRegister) {
  SalaryRegister people;
  testing::FillRegister(people, 3, "人", 0);
  people.SetTitle(4, "绩效工资");
  const Text path = folder_ + "/range.dat";
  SaveAndOpen(people, path);
  databases_.CloseAllDatabases();
  const auto save = [&](StructureSource kind, const Text& source, Text* reason) {
    return SaveRegisterFile(databases_, fs::RealFileSystem(), kind, source, path, people, nullptr,
                            reason);
  };

  Text reason;
  people.SetCellText(1, 2, "99");
  people.SetCellText(2, 4, "1e309");
  EXPECT_FALSE(save(StructureSource::kSavedRegister, path, &reason));
  EXPECT_EQ(reason, "第 2 行（2 人2）“绩效工资”一栏的金额“1e309”超出了程序能处理的范围");
  people.SetCellText(2, 4, "1.#INF");  // shown by a file of an older version
  EXPECT_FALSE(save(StructureSource::kSavedRegister, path, &reason));
  EXPECT_NE(reason.find("“1.#INF”"), Text::npos) << reason;
  people.SetCellText(2, 4, "");
  people.SetCellText(3, 20, "-1e400");
  EXPECT_FALSE(save(StructureSource::kSavedRegister, path, &reason));
  EXPECT_NE(reason.find("第 3 行（3 人3）第 21 列的金额“-1e400”"), Text::npos) << reason;
  EXPECT_FALSE(std::filesystem::exists(SavingFilePath(path)));

  // A float field ends far below a double.
  std::vector<recdb::FieldDescriptor> fields = testing::RelayFields();
  fields[20].type = recdb::FieldType::kFloat;
  testing::MakeDatabase(folder_ + "/float.rgq", fields);
  people.SetCellText(3, 20, "1e39");
  EXPECT_FALSE(save(StructureSource::kRelayFile, folder_ + "/float.rgq", &reason));
  EXPECT_NE(reason.find("“1e39”"), Text::npos) << reason;
  people.SetCellText(3, 20, "3e38");
  EXPECT_TRUE(save(StructureSource::kRelayFile, folder_ + "/float.rgq", &reason)) << reason;

  ASSERT_TRUE(databases_.OpenDatabase(path, kRegisterAlias));
  EXPECT_EQ(ToText(databases_.ReadField(3)), "99");
  databases_.GotoRecord(3);
  EXPECT_EQ(ToText(databases_.ReadField(21)), "3e+038");
}

TEST_F(RegisterStorageTest, RegisterShapeIsTwentyTwoFieldsTextAtOneTwoAndTwentyTwo) {
  Text reason;
  ASSERT_TRUE(databases_.OpenDatabase(relay_, "relay"));
  EXPECT_TRUE(HasRegisterShape(databases_, &reason));

  std::vector<recdb::FieldDescriptor> fields = testing::RelayFields();
  fields[5].type = recdb::FieldType::kInt;  // any numeric type will do for an amount
  testing::MakeDatabase(folder_ + "/int.dat", fields);
  ASSERT_TRUE(databases_.OpenDatabase(folder_ + "/int.dat", "int"));
  EXPECT_TRUE(HasRegisterShape(databases_, &reason));

  fields[5].type = recdb::FieldType::kText;
  fields[5].text_width = 8;
  testing::MakeDatabase(folder_ + "/text.dat", fields);
  ASSERT_TRUE(databases_.OpenDatabase(folder_ + "/text.dat", "text"));
  EXPECT_FALSE(HasRegisterShape(databases_, &reason));
  EXPECT_NE(reason.find("22"), Text::npos);

  fields = testing::RelayFields();
  fields.pop_back();
  testing::MakeDatabase(folder_ + "/short.dat", fields);
  ASSERT_TRUE(databases_.OpenDatabase(folder_ + "/short.dat", "short"));
  EXPECT_FALSE(HasRegisterShape(databases_, &reason));
}

TEST(FindInRegisterTest, SearchesFromTheCellAfterTheCursorAndWrapsOnce) {
  Grid grid(RegisterGridConfig());
  grid.SetRowCount(6);
  grid.SetCellValue(0, 1, 1, Value::FromText("张三"));  // titles are not searched
  grid.SetCellValue(2, 1, 1, Value::FromText("张三丰"));
  grid.SetCellValue(4, 1, 1, Value::FromText("老张三"));

  EXPECT_TRUE(FindInRegister(grid, "张三"));  // no cursor: from row 1 on
  EXPECT_EQ(grid.GetCursorRow(), 2);
  EXPECT_EQ(grid.GetCursorColumn(), 1);
  EXPECT_TRUE(FindInRegister(grid, "张三"));
  EXPECT_EQ(grid.GetCursorRow(), 4);
  EXPECT_TRUE(FindInRegister(grid, "张三"));  // wraps to the top
  EXPECT_EQ(grid.GetCursorRow(), 2);

  grid.SetCursor(2, 1);
  EXPECT_FALSE(FindInRegister(grid, "李四"));
  EXPECT_EQ(grid.GetCursorRow(), 2);  // nothing found: the cursor stays
  EXPECT_FALSE(FindInRegister(grid, ""));

  // The only match is the cursor cell itself: found after a whole round.
  grid.SetCellValue(4, 1, 1, Value::FromText(""));
  EXPECT_TRUE(FindInRegister(grid, "丰"));
  EXPECT_EQ(grid.GetCursorRow(), 2);
}

TEST(FindInRegisterTest, MatchesWholeCharactersOnly) {
  Grid grid(RegisterGridConfig());
  grid.SetRowCount(3);
  // Two double-byte characters: the trail byte of the first and the lead byte of the second
  // look like a third character, which the cell does not hold.
  const Text cell = "\xE5\xB8\xB0\xCA";
  grid.SetCellValue(1, 3, 1, Value::FromText(cell));
  EXPECT_FALSE(FindInRegister(grid, "\xB8\xB0"));
  EXPECT_TRUE(FindInRegister(grid, "\xB0\xCA"));
  EXPECT_EQ(grid.GetCursorRow(), 1);
  EXPECT_EQ(grid.GetCursorColumn(), 3);
}

}  // namespace
}  // namespace sr::app
