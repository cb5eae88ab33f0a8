// The automation seam over COM, against the test object of test_dispatch.cpp registered for the
// test.
#include "platform/win32/automation/com_automation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/automation/tests/test_class.h"
#include "platform/win32/text/wide_text.h"

namespace sr::win32 {
namespace {

using automation::DispatchRef;
using automation::InvokeKind;
using automation::Status;
using automation::Variant;

class ComAutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_class_.registered());
    const Status made = com_.CreateObject(WideToGbk(test::UniqueProgId()).value(), &object_);
    ASSERT_TRUE(made.ok()) << made.message;
    ASSERT_TRUE(object_);
  }

  Status Call(DispatchRef& object, int member, InvokeKind kind, std::vector<Variant> args,
              Variant* result) {
    return object->Invoke(member, kind, args, result);
  }
  // Every call the test objects took so far, one line each.
  Text Log() {
    Variant log;
    EXPECT_TRUE(Call(object_, 1000, InvokeKind::kPropertyGet, {}, &log).ok());
    return log.bstr;
  }

  ComAutomation com_;
  test::TestClass test_class_{test::UniqueProgId()};
  DispatchRef object_;
};

TEST_F(ComAutomationTest, MembersTakeTypedArgumentsAndGiveTypedResults) {
  Variant result;
  ASSERT_TRUE(Call(object_, 2, InvokeKind::kMethod, {Variant::I4(40), Variant::I4(2)}, &result).ok());
  EXPECT_EQ(result.type, Variant::Type::kI4);
  EXPECT_EQ(result.i4, 42);
  // Arguments keep their order: the row comes first.
  ASSERT_TRUE(Call(object_, 3, InvokeKind::kPropertyGet, {Variant::I4(2), Variant::I4(7)}, &result).ok());
  EXPECT_EQ(result.type, Variant::Type::kBstr);
  EXPECT_EQ(result.bstr, "r2c7");
  EXPECT_TRUE(Log().ends_with("call 0x2 VT_I4:40 VT_I4:2\nget 0x3 VT_I4:2 VT_I4:7\n"));
}

TEST_F(ComAutomationTest, ChineseTextCrossesBothWaysAsBstr) {
  Variant result;
  ASSERT_TRUE(Call(object_, 1, InvokeKind::kPropertyPut, {Variant::Bstr("工资发放表")}, &result).ok());
  EXPECT_EQ(result.type, Variant::Type::kEmpty);
  ASSERT_TRUE(Call(object_, 1, InvokeKind::kPropertyGet, {}, &result).ok());
  EXPECT_EQ(result.bstr, "工资发放表");
  ASSERT_TRUE(Call(object_, 3, InvokeKind::kPropertyPut,
                   {Variant::I4(1), Variant::I4(1), Variant::Bstr("应发工资")}, &result).ok());
  ASSERT_TRUE(Call(object_, 3, InvokeKind::kPropertyGet, {Variant::I4(1), Variant::I4(1)}, &result).ok());
  EXPECT_EQ(result.bstr, "应发工资");
}

TEST_F(ComAutomationTest, FailuresComeBackWithTheirCodesAndMessages) {
  Variant result = Variant::I4(5);
  Status status = Call(object_, 2, InvokeKind::kMethod, {Variant::I4(1), Variant::Bstr("2")}, &result);
  EXPECT_EQ(status.code, automation::kTypeMismatch);
  EXPECT_FALSE(status.message.empty());
  EXPECT_EQ(result.type, Variant::Type::kEmpty);
  EXPECT_EQ(Call(object_, 4, InvokeKind::kMethod, {}, &result).code, automation::kMemberNotFound);
  EXPECT_EQ(Call(object_, 2, InvokeKind::kMethod, {Variant::I4(1)}, &result).code,
            automation::kBadParamCount);
  // An exception the object raises: its own description.
  status = Call(object_, 5, InvokeKind::kMethod, {}, &result);
  EXPECT_EQ(status.code, automation::kException);
  EXPECT_EQ(status.message, "单元格不接受这个值");
  // A text that GBK does not define never reaches the object.
  const Text before = Log();
  EXPECT_EQ(Call(object_, 1, InvokeKind::kPropertyPut, {Variant::Bstr("\x81")}, &result).code,
            automation::kTypeMismatch);
  EXPECT_EQ(Log(), before);
}

TEST_F(ComAutomationTest, ObjectsComeBackAsObjectsThatTakeCalls) {
  Variant workbooks;
  ASSERT_TRUE(Call(object_, 0x23C, InvokeKind::kPropertyGet, {}, &workbooks).ok());
  ASSERT_EQ(workbooks.type, Variant::Type::kDispatch);
  object_.Reset();  // the returned object holds its own reference
  Variant sum;
  ASSERT_TRUE(Call(workbooks.object, 2, InvokeKind::kMethod, {Variant::I4(1), Variant::I4(1)}, &sum).ok());
  EXPECT_EQ(sum.i4, 2);
}

TEST(ComAutomation, AnUnknownProgIdIsAnInvalidClassString) {
  ComAutomation com;
  DispatchRef object;
  const Status status = com.CreateObject("SalaryRegister.NoSuchClass", &object);
  EXPECT_EQ(status.code, automation::kInvalidClassString);
  EXPECT_FALSE(status.message.empty());
  EXPECT_FALSE(object);
}

}  // namespace
}  // namespace sr::win32
