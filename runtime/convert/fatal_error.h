#ifndef SALARY_RUNTIME_CONVERT_FATAL_ERROR_H_
#define SALARY_RUNTIME_CONVERT_FATAL_ERROR_H_

#include <exception>

#include "base/value.h"

namespace sr {

// A misuse that cannot be reported through a result ends the program: the event dispatch catches
// FatalRuntimeError, shows FatalErrorMessage once and exits with -1.

// The numbered errors the program can raise; NumberedErrorText gives their texts.
inline constexpr int kErrorSubscriptOutOfRange = 1;
inline constexpr int kErrorNumberRequired = 2;
inline constexpr int kErrorDimensionMismatch = 3;
inline constexpr int kErrorSubscriptBelowOne = 4;
inline constexpr int kErrorTypeMismatch = 5;
inline constexpr int kErrorArgumentType = 11;

struct FatalError {
  int number = 0;  // 0 = no number
  Text text;       // empty = no text
};

// "运行时出错!\r\n\r\n", then "错误代码：" N "\r\n\r\n" when numbered, then "错误信息：" text
// "\r\n" when the error has a text. GBK bytes.
Text FatalErrorMessage(const FatalError& error);

// The text of numbered error 1, 2, 3, 4, 5 or 11; the empty text for any other number.
Text NumberedErrorText(int number);

class FatalRuntimeError : public std::exception {
 public:
  explicit FatalRuntimeError(FatalError error);

  const FatalError& error() const { return error_; }
  // The whole message (FatalErrorMessage), GBK bytes.
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  FatalError error_;
  Text message_;
};

// Throws FatalRuntimeError. A number of 0 means an unnumbered error.
[[noreturn]] void RaiseFatalError(int number, const Text& text);

// Throws the numbered error with its own text (NumberedErrorText).
[[noreturn]] void RaiseFatalError(int number);

}  // namespace sr

#endif  // SALARY_RUNTIME_CONVERT_FATAL_ERROR_H_
