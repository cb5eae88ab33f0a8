#include "runtime/automation/excel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/recording_automation.h"

namespace sr {
namespace {

using automation::RecordingAutomation;
using Calls = std::vector<std::string>;

class ExcelTest : public ::testing::Test {
 protected:
  RecordingAutomation seam_;
  ExcelApp app_{&seam_};
  ExcelWorkbooks books_;
};

TEST_F(ExcelTest, ExportSequenceMakesExactlyTheseCalls) {
  ASSERT_TRUE(app_.Create());
  ASSERT_TRUE(books_.Attach(app_));
  books_.Activate();
  books_.SetSheetNumber(1);
  books_.SetFirstCell("a1");
  books_.SetSecondCell("a1");
  books_.SetValue("工资");
  automation::DispatchRef held = books_.GetRange();
  books_.SetFirstCell("b1");
  books_.SetSecondCell("b1");
  books_.SetValue("'0012");
  held = books_.GetRange();  // the previous range goes now
  app_.SetVisible(true);
  books_.Release();
  app_.Release();
  held.Reset();
  EXPECT_EQ(seam_.calls(), (Calls{
                               "create Excel.Application -> #1",
                               "#1 get 0x23C() -> #2",   // Workbooks
                               "#2 call 0xB5(missing)",  // Add
                               "#2 get 0x94() -> #3",    // Application
                               "#3 get 0x1E5() -> #4",   // Sheets
                               "#4 get 0xAA(1) -> #5",   // Item
                               "#3 call 0x130()",        // Activate
                               "#4 get 0xAA(1) -> #6",   // SheetNumber
                               "#5 free",
                               "#6 get 0xC5(\"a1\", \"a1\") -> #7",
                               "#7 put 0x6(\"工资\")",
                               "#6 get 0xC5(\"b1\", \"b1\") -> #8",
                               "#8 put 0x6(\"'0012\")",
                               "#7 free",
                               "#1 put 0x22E(true)",  // Visible
                               "#6 free",             // range #8 is still held by the caller
                               "#4 free",
                               "#3 free",
                               "#2 free",
                               "#1 free",
                               "#8 free",
                           }));
  EXPECT_EQ(seam_.live_objects(), 0);
  EXPECT_TRUE(books_.first_cell().empty());
  EXPECT_TRUE(books_.second_cell().empty());
}

TEST_F(ExcelTest, CreateReportsTheSystemMessageAndTheInstallHint) {
  seam_.create_result =
      automation::Status::Error(automation::kInvalidClassString, "无效的类字符串");
  Text error = "stale";
  EXPECT_FALSE(app_.Create(&error));
  EXPECT_EQ(error,
            "无效的类字符串(可能没有正确安装Office/Excel，无法创建对象\"Excel.Application\")");
  EXPECT_FALSE(app_.application());

  seam_.create_result = automation::Status::Error(automation::kClassNotRegistered, "没有注册类");
  EXPECT_FALSE(app_.Create(&error));
  EXPECT_EQ(error, "没有注册类");
  EXPECT_FALSE(app_.Create());  // no error text wanted

  seam_.create_result = automation::Status::Ok();
  EXPECT_TRUE(app_.Create(&error));
  EXPECT_EQ(error, "");
}

TEST_F(ExcelTest, CreateAndAttachReleaseWhatTheyHeldFirst) {
  ASSERT_TRUE(app_.Create());
  ASSERT_TRUE(books_.Attach(app_));
  books_.SetFirstCell("a1");
  books_.SetSecondCell("a2");
  seam_.ClearCalls();
  ASSERT_TRUE(books_.Attach(app_));
  EXPECT_EQ(seam_.calls().front(), "#6 free");  // the range, then the rest of the old workbook
  EXPECT_TRUE(books_.first_cell().empty());
  seam_.ClearCalls();
  ASSERT_TRUE(app_.Create());
  // The workbooks object keeps its own references; only the app's own one goes first.
  EXPECT_EQ(seam_.calls(), (Calls{"#1 free", "create Excel.Application -> #11"}));
}

TEST_F(ExcelTest, WithoutAnInstanceNothingIsCalled) {
  EXPECT_FALSE(books_.Attach(app_));
  books_.Activate();
  books_.SetSheetNumber(2);
  books_.SetFirstCell("a1");
  books_.SetSecondCell("a1");
  books_.SetValue("x");
  books_.Close();
  app_.SetVisible(true);
  app_.Quit();
  EXPECT_FALSE(books_.GetRange());
  EXPECT_TRUE(seam_.calls().empty());
}

TEST_F(ExcelTest, ReportedErrorsAreSwallowedAndLeaveReferencesUnchanged) {
  ASSERT_TRUE(app_.Create());
  ASSERT_TRUE(books_.Attach(app_));
  books_.SetFirstCell("a1");
  books_.SetSecondCell("a1");
  seam_.FailMember(excel_member::kRange);
  seam_.FailMember(excel_member::kItem);
  books_.SetSheetNumber(9);
  books_.SetFirstCell("c3");
  books_.SetSecondCell("c3");
  books_.SetValue("x");  // still the range of a1
  EXPECT_EQ(seam_.calls().back(), "#6 put 0x6(\"x\")");
  EXPECT_EQ(books_.second_cell(), "c3");
}

TEST_F(ExcelTest, ThrownErrorsAreSwallowedPerCall) {
  ASSERT_TRUE(app_.Create());
  seam_.ThrowOnMember(excel_member::kAdd);
  seam_.ThrowOnMember(excel_member::kValue);
  seam_.ThrowOnMember(excel_member::kVisible);
  ASSERT_TRUE(books_.Attach(app_));  // Add threw; the rest of Attach still ran
  books_.SetFirstCell("a1");
  books_.SetSecondCell("a1");
  EXPECT_NO_THROW(books_.SetValue("x"));
  EXPECT_NO_THROW(app_.SetVisible(true));
  books_.SetFirstCell("a2");
  books_.SetSecondCell("a2");
  EXPECT_EQ(seam_.calls().end()[-2], "#5 get 0xC5(\"a2\", \"a2\") -> #7");
  EXPECT_EQ(seam_.calls().back(), "#6 free");
}

TEST_F(ExcelTest, FailedWorkbooksLeavesAnEmptyButAttachedObject) {
  ASSERT_TRUE(app_.Create());
  seam_.FailMember(excel_member::kWorkbooks);
  EXPECT_TRUE(books_.Attach(app_));
  books_.SetFirstCell("a1");
  books_.SetSecondCell("a1");
  books_.SetValue("x");
  EXPECT_EQ(seam_.calls(), (Calls{"create Excel.Application -> #1", "#1 get 0x23C() fails"}));
}

TEST_F(ExcelTest, QuitAndCloseGoToTheirObjectsAndNotAfterRelease) {
  ASSERT_TRUE(app_.Create());
  ASSERT_TRUE(books_.Attach(app_));
  seam_.ClearCalls();
  books_.Close();
  app_.Quit();
  EXPECT_EQ(seam_.calls(), (Calls{"#2 call 0x115()", "#1 call 0x12E()"}));
  books_.Release();
  app_.Release();
  seam_.ClearCalls();
  books_.Close();
  app_.Quit();
  EXPECT_TRUE(seam_.calls().empty());
  EXPECT_EQ(seam_.live_objects(), 0);
}

}  // namespace
}  // namespace sr
