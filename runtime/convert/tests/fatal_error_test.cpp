#include "runtime/convert/fatal_error.h"

#include <gtest/gtest.h>

namespace sr {
namespace {

// The message bytes, spelled in UTF-8 and converted to GBK by the execution character set.
TEST(FatalErrorTest, NumberedMessageHasCodeAndText) {
  EXPECT_EQ(FatalErrorMessage({2, NumberedErrorText(2)}),
            "运行时出错!\r\n\r\n错误代码：2\r\n\r\n错误信息：未得到所需要的数值型数据\r\n");
}

TEST(FatalErrorTest, PartsThatAreMissingAreLeftOut) {
  EXPECT_EQ(FatalErrorMessage({0, "无当前数据库"}),
            "运行时出错!\r\n\r\n错误信息：无当前数据库\r\n");
  EXPECT_EQ(FatalErrorMessage({11, ""}), "运行时出错!\r\n\r\n错误代码：11\r\n\r\n");
  EXPECT_EQ(FatalErrorMessage({}), "运行时出错!\r\n\r\n");
}

TEST(FatalErrorTest, MessageIsGbk) {
  // "运行" in GBK, and the full-width colon A3BA.
  const Text message = FatalErrorMessage({1, "x"});
  EXPECT_EQ(message.substr(0, 4), "\xD4\xCB\xD0\xD0");
  EXPECT_NE(message.find("\xA3\xBA"
                         "1\r\n"),
            Text::npos);
}

TEST(FatalErrorTest, NumberedErrorTexts) {
  EXPECT_EQ(NumberedErrorText(1), "数组成员引用下标超出定义范围");
  EXPECT_EQ(NumberedErrorText(3), "引用数组成员时维数不为1且不等于该数组目前所具有的维数");
  EXPECT_EQ(NumberedErrorText(4), "数组成员引用下标必须大于等于1");
  EXPECT_EQ(NumberedErrorText(5), "数据或数组类型不匹配");
  EXPECT_EQ(NumberedErrorText(11), "所提供参数的数据类型不符合要求");
  EXPECT_EQ(NumberedErrorText(6), "");
  EXPECT_EQ(NumberedErrorText(0), "");
}

TEST(FatalErrorTest, RaiseThrowsTheErrorWithItsMessage) {
  try {
    RaiseFatalError(kErrorNumberRequired);
    FAIL() << "no exception";
  } catch (const FatalRuntimeError& e) {
    EXPECT_EQ(e.error().number, 2);
    EXPECT_EQ(e.error().text, NumberedErrorText(2));
    EXPECT_EQ(Text(e.what()), FatalErrorMessage(e.error()));
  }
  EXPECT_THROW(RaiseFatalError(0, "x"), FatalRuntimeError);
  EXPECT_THROW(RaiseFatalError(5, NumberedErrorText(5)), std::exception);
}

}  // namespace
}  // namespace sr
