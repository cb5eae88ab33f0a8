// Opens the files that the build generated, as the program will, and checks shape and values.
#include <gtest/gtest.h>

#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/recdb.h"
#include "tools/datagen/content.h"

namespace sr::datagen {
namespace {

using recdb::FieldType;

Text DataPath(const char* name) { return FromUtf8(SR_DATA_DIR) + "/" + name; }

class InstalledDataTest : public ::testing::Test {
 protected:
  void TearDown() override { table_.CloseAllDatabases(); }
  DatabaseTable table_{fs::RealFileSystem()};
};

TEST_F(InstalledDataTest, RelayFileHoldsTheTwentyTwoDefaultTitlesAndNoRecords) {
  OpenOptions read_only;
  read_only.read_only = 1;
  ASSERT_TRUE(table_.OpenDatabase(DataPath(kRelayFileName), "ZhongZhuan", read_only))
      << LastDatabaseError();
  EXPECT_EQ(table_.GetRecordCount(), 0);
  const auto& fields = table_.current()->fields();
  ASSERT_EQ(fields.size(), 22u);
  const char* expected[22] = {"编号", "姓名", "基本工资", "岗位工资", "绩效工资", "加班工资",
                              "津贴", "补贴", "奖金", "其他收入", "应发工资", "养老保险(免税)",
                              "医疗保险(免税)", "失业保险(免税)", "住房公积金(免税)",
                              "工会会费", "其他扣款", "事假扣款", "个人所得税", "扣款合计",
                              "实发工资", "备注"};
  for (int i = 0; i < 22; ++i) {
    EXPECT_EQ(table_.GetFieldName(i + 1), expected[i]) << i + 1;
    EXPECT_LE(fields[i].name.size(), 16u);
    const bool text = i == 0 || i == 1 || i == 21;
    EXPECT_EQ(fields[i].type, text ? FieldType::kText : FieldType::kDouble) << i + 1;
  }
  EXPECT_EQ(fields[0].text_width, 20);
  EXPECT_EQ(fields[1].text_width, 20);
  EXPECT_EQ(fields[21].text_width, 100);
  EXPECT_FALSE(table_.current()->header().is_protected);
  EXPECT_FALSE(table_.current()->has_companion());
  // The four insurance and fund items, and only they, are marked tax-exempt.
  int exempt = 0;
  for (const auto& field : fields) exempt += field.name.find("(免税)") != Text::npos;
  EXPECT_EQ(exempt, 4);
}

TEST_F(InstalledDataTest, TaxTableIsProtectedAndHoldsTodaysMonthlyBrackets) {
  EXPECT_FALSE(table_.OpenDatabase(DataPath(kTaxTableFileName), "设置税率表"));
  EXPECT_EQ(LastDatabaseError(), -78);

  OpenOptions options;
  options.password = kTaxTablePassword;
  ASSERT_TRUE(table_.OpenDatabase(DataPath(kTaxTableFileName), "设置税率表", options))
      << LastDatabaseError();
  const auto& fields = table_.current()->fields();
  ASSERT_EQ(fields.size(), 6u);
  for (int f = 0; f < 5; ++f) EXPECT_EQ(fields[f].type, FieldType::kInt);
  EXPECT_EQ(fields[5].type, FieldType::kText);
  ASSERT_EQ(table_.GetRecordCount(), 9);

  const int32_t expected[9][5] = {
      {5000, 1, 3000, 3, 0},       {0, 3000, 12000, 10, 210},   {0, 12000, 25000, 20, 1410},
      {0, 25000, 35000, 25, 2660}, {0, 35000, 55000, 30, 4410}, {0, 55000, 80000, 35, 7160},
      {0, 80000, 0, 45, 15160},    {0, 0, 0, 0, 0},             {0, 0, 0, 0, 0}};
  table_.GoFirst();
  for (int k = 0; k < 9; ++k) {
    for (int f = 0; f < 5; ++f) {
      EXPECT_EQ(table_.ReadField(f + 1), Value::Int(expected[k][f])) << k + 1 << "," << f + 1;
    }
    EXPECT_EQ(table_.ReadField(6), Value::FromText(""));
    table_.Skip();
  }
}

TEST_F(InstalledDataTest, ResidentTableIsProtectedAndHoldsTheYearToDateBrackets) {
  EXPECT_FALSE(table_.OpenDatabase(DataPath(kResidentTableFileName), "居民预扣率表"));
  EXPECT_EQ(LastDatabaseError(), -78);
  OpenOptions options;
  options.password = kTaxTablePassword;
  ASSERT_TRUE(table_.OpenDatabase(DataPath(kResidentTableFileName), "居民预扣率表", options))
      << LastDatabaseError();
  ASSERT_EQ(table_.current()->fields().size(), 6u);
  ASSERT_EQ(table_.GetRecordCount(), 9);
  // The withholding table for residents' wages, yuan per year so far.
  const int32_t expected[9][5] = {
      {5000, 1, 36000, 3, 0},          {0, 36000, 144000, 10, 2520},
      {0, 144000, 300000, 20, 16920},  {0, 300000, 420000, 25, 31920},
      {0, 420000, 660000, 30, 52920},  {0, 660000, 960000, 35, 85920},
      {0, 960000, 0, 45, 181920},      {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0}};
  table_.GoFirst();
  for (int k = 0; k < 9; ++k) {
    for (int f = 0; f < 5; ++f) {
      EXPECT_EQ(table_.ReadField(f + 1), Value::Int(expected[k][f])) << k + 1 << "," << f + 1;
    }
    table_.Skip();
  }
}

TEST(TaxTableContentTest, QuickDeductionsMakeTheTaxContinuousAtEveryBound) {
  // At a bracket's lower bound L the tax must be the same computed in either bracket:
  // L * R(k-1) - Q(k-1) = L * R(k) - Q(k), so Q(k) = Q(k-1) + L * (R(k) - R(k-1)) / 100.
  for (const auto& records : {TaxTableRecords(), ResidentTableRecords()}) {
    ASSERT_EQ(records.size(), 9u);
    int used = 1;
    for (size_t k = 1; k < records.size() && records[k][1] > 0; ++k, ++used) {
      const auto& low = records[k - 1];
      const auto& high = records[k];
      EXPECT_EQ(high[1], low[2] == 0 ? high[1] : low[2]) << "brackets must join at " << k + 1;
      EXPECT_GT(high[1], low[1]);
      EXPECT_EQ(high[4], low[4] + high[1] * (high[3] - low[3]) / 100) << "record " << k + 1;
    }
    EXPECT_EQ(used, 7);
  }
  for (const auto& field : RelayFields()) EXPECT_LE(field.name.size(), 16u) << ToUtf8(field.name);
}

}  // namespace
}  // namespace sr::datagen
