// The spreadsheet wrappers (runtime/automation) over COM, with the test object standing in for
// Excel.
#include <gtest/gtest.h>

#include "platform/win32/automation/com_automation.h"
#include "platform/win32/automation/tests/test_class.h"
#include "runtime/automation/excel.h"

namespace sr {
namespace {

using automation::InvokeKind;
using automation::Variant;
using win32::ComAutomation;
namespace test = win32::test;

// The only test that registers "Excel.Application": Wine has no spreadsheet application, so
// until the test object stands in for one the wrappers must say it is not installed.
TEST(ExcelOverCom, WithoutExcelTheWrappersSaySoAndWithOneTheyCallItByDispatchId) {
  ComAutomation com;
  ExcelApp app(&com);
  Text error;
  EXPECT_FALSE(app.Create(&error));
  EXPECT_NE(error.find("(可能没有正确安装Office/Excel，无法创建对象\"Excel.Application\")"),
            Text::npos)
      << error;

  test::TestClass excel(L"Excel.Application");
  ASSERT_TRUE(excel.registered());
  ASSERT_TRUE(app.Create(&error)) << error;
  EXPECT_TRUE(app.SetVisible(true));
  ExcelWorkbooks workbooks;
  ASSERT_TRUE(workbooks.Attach(app));
  workbooks.SetFirstCell("A1");
  workbooks.SetSecondCell("B2");
  workbooks.SetValue("实发工资");
  Variant log;
  ASSERT_TRUE(app.application()->Invoke(1000, InvokeKind::kPropertyGet, {}, &log).ok());
  EXPECT_EQ(log.bstr,
            "put 0x22E VT_BOOL:-1\n"
            "get 0x23C\n"
            "call 0xB5 VT_ERROR:0x80020004\n"
            "get 0x94\n"
            "get 0x1E5\n"
            "get 0xAA VT_I4:1\n"
            "get 0xC5 VT_BSTR:A1 VT_BSTR:B2\n"
            "put 0x6 VT_BSTR:实发工资\n");
}

}  // namespace
}  // namespace sr
