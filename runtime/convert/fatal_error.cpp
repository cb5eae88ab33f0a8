#include "runtime/convert/fatal_error.h"

#include <string>
#include <utility>

namespace sr {

Text FatalErrorMessage(const FatalError& error) {
  Text message = "运行时出错!\r\n\r\n";
  if (error.number != 0) {
    message += "错误代码：" + std::to_string(error.number) + "\r\n\r\n";
  }
  if (!error.text.empty()) message += "错误信息：" + error.text + "\r\n";
  return message;
}

Text NumberedErrorText(int number) {
  switch (number) {
    case kErrorSubscriptOutOfRange:
      return "数组成员引用下标超出定义范围";
    case kErrorNumberRequired:
      return "未得到所需要的数值型数据";
    case kErrorDimensionMismatch:
      return "引用数组成员时维数不为1且不等于该数组目前所具有的维数";
    case kErrorSubscriptBelowOne:
      return "数组成员引用下标必须大于等于1";
    case kErrorTypeMismatch:
      return "数据或数组类型不匹配";
    case kErrorArgumentType:
      return "所提供参数的数据类型不符合要求";
    default:
      return Text();
  }
}

FatalRuntimeError::FatalRuntimeError(FatalError error)
    : error_(std::move(error)), message_(FatalErrorMessage(error_)) {}

void RaiseFatalError(int number, const Text& text) {
  throw FatalRuntimeError(FatalError{number, text});
}

void RaiseFatalError(int number) { RaiseFatalError(number, NumberedErrorText(number)); }

}  // namespace sr
